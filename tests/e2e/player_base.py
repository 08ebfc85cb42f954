"""What every player of bul-pgia does the same way, whatever shows the game:
the desktop's Player and the web page's PagePlayer supply the hands
(click, type_into_guess_box) and the eyes (board), and share the rest."""
import layout


class PlayerBase:
    def board(self):
        """{control name: Seen(text, enabled)} of every control that shows."""
        raise NotImplementedError

    def guess(self, text):
        """Types a four-character guess and clicks "בדוק"."""
        self.type_into_guess_box(text)
        self.click("Command1")

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
