"""What every player of bul-pgia does the same way, whatever shows the game:
the desktop's Player and the web page's PagePlayer supply the hands (click,
type_keys, press_box_key, click_box_button) and the eyes (board,
open_message_boxes), and share the rest: reading the board, guessing,
typing into the guess box, watching for a message box and dismissing one."""
import time

import layout
from vocabulary import GUESS_BOX_LENGTH
from waiting import wait_until

# How long to watch for a message box that must not appear.
QUIET_SECONDS = 0.6


class PlayerBase:
    def board(self):
        """{control name: Seen(text, enabled)} of every control that shows."""
        raise NotImplementedError

    def open_message_boxes(self):
        """The message boxes showing now."""
        raise NotImplementedError

    # -- the guess box ---------------------------------------------------------

    def type_into_guess_box(self, text):
        """Clicks the guess box and types `text` at its end; returns once it
        shows there, cut as the box cuts it."""
        self.click("Text1")
        self.to_end_of_guess_box()
        before = self.read("Text1")
        self.type_keys(text)
        expected = (before + text)[:GUESS_BOX_LENGTH]
        wait_until(lambda: self.read("Text1") == expected, 5.0,
                   f"the guess box to show {expected!r}")

    def to_end_of_guess_box(self):
        """Puts the cursor at the end of the guess box, where the click left it
        elsewhere."""

    def guess(self, text):
        """Types a four-character guess and clicks "בדוק"."""
        self.type_into_guess_box(text)
        self.click("Command1")

    # -- reading ---------------------------------------------------------------

    def read(self, name):
        seen = self.board().get(name)
        if seen is None:
            raise AssertionError(f"{name} is not showing")
        return seen.text

    def rows(self):
        """[(guess, bulls, hits)] of rows 1..8 as shown."""
        board = self.board()
        return [(board[f"lbltry{r}"].text, board[f"bol{r}"].text, board[f"pgia{r}"].text)
                for r in layout.ROWS]

    def secret_on_screen(self):
        """The digits showing in the secret box: {position: digit}."""
        board = self.board()
        return {p: board[f"lbl{p}"].text for p in layout.POSITIONS if f"lbl{p}" in board}

    # -- message boxes -----------------------------------------------------------

    def assert_no_message_box(self):
        deadline = time.monotonic() + QUIET_SECONDS
        while time.monotonic() < deadline:
            boxes = self.open_message_boxes()
            assert not boxes, f"unexpected message box: {boxes}"
            time.sleep(0.05)

    def dismiss(self, box, how="Return"):
        """Dismisses `box` with a key (Return, space, Escape) or with "click",
        a click on its one button."""
        if how == "click":
            self.click_box_button(box)
        else:
            self.press_box_key(box, how)
        wait_until(lambda: self.message_box_closed(box), 5.0, "the message box to close")

    def message_box_closed(self, box):
        return not self.open_message_boxes()
