"""One game of bul-pgia played from outside: the program started as its own
process, clicked and typed at through X, and watched through its accessibility
tree. Nothing in the program knows it is being tested.
"""
import time

import pyatspi

import desktop
import layout
from player_base import PlayerBase
from program import Program
from screen import Screen, descendants, states_of
from waiting import wait_until


class Player(PlayerBase, Program):
    def __init__(self, program):
        super().__init__(program)
        self.window = self.wait_for_start(
            lambda: desktop.windows_titled(self.process.pid, layout.WINDOW_TITLE),
            15.0, "the window titled " + layout.WINDOW_TITLE)[0]
        self.screen = Screen(self.process.pid)
        self.wait_for_start(lambda: "Text1" in self.screen.board(), 10.0, "the board's controls")

    # -- hands -------------------------------------------------------------

    def _point(self, name):
        x, y = layout.click_point(name)
        origin_x, origin_y = desktop.window_origin(self.window)
        return origin_x + x, origin_y + y

    def click(self, name):
        """Clicks the control `name` at its place in the layout."""
        desktop.click(*self._point(name))
        time.sleep(0.05)

    def double_click(self, name):
        desktop.click(*self._point(name), repeat=2)
        time.sleep(0.05)

    def type_keys(self, text):
        desktop.type_text(text)

    # -- eyes --------------------------------------------------------------

    def board(self):
        return self.screen.board()

    def focused(self):
        """The name of the control that has the keyboard focus, or None. The
        window is given the input focus first, as a window manager gives it
        back when a box closes: without one, a window that has lost it
        reports no focused control at all."""
        desktop.focus(self.window)
        return next((name for name, seen in self.board().items()
                     if pyatspi.STATE_FOCUSED in states_of(seen.accessible)), None)

    # -- message boxes -----------------------------------------------------

    def wait_for_message_box(self, timeout=5.0):
        """The one message box that opens; checks that X shows it under its title."""
        boxes = wait_until(self.screen.message_boxes, timeout, "a message box")
        assert len(boxes) == 1, f"expected one message box, found {boxes}"
        box = boxes[0]
        windows = wait_until(lambda: desktop.windows_titled(self.process.pid, box.title),
                             5.0, f"a window titled {box.title!r}")
        box.window = windows[0]
        return box

    def open_message_boxes(self):
        return self.screen.message_boxes()

    def click_box_button(self, box):
        button = next(a for a in descendants(box.accessible)
                      if a.getRole() == pyatspi.ROLE_PUSH_BUTTON)
        x, y, w, h = button.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
        desktop.click(x + w // 2, y + h // 2)

    def press_box_key(self, box, key):
        desktop.press_key(key, box.window)

    def message_box_closed(self, box):
        """Gone from X as well as from the accessibility tree."""
        return (not desktop.windows_titled(self.process.pid, box.title)
                and not self.screen.message_boxes())

    # -- the end -----------------------------------------------------------

    def close_window(self, window=None):
        desktop.ask_to_close(window or self.window)
