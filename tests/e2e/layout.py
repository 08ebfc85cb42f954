"""Where a player finds each control: the window's layout table as the built
print_tables prints it (vocabulary.py), in pixels relative to the window's
client area, or to the codes panel for the five buttons in it."""
from vocabulary import CAPTIONS, CONTROLS, WINDOW_TITLE  # noqa: F401  (the players read them here)

ROWS = range(1, 9)
POSITIONS = range(1, 5)

DIGIT_BUTTONS = ("Command4", "Command5", "Command6", "Command7")  # lbl1..lbl4
PANEL_BUTTONS = DIGIT_BUTTONS + ("Command8",)


def rect(name):
    """(left, top, width, height) in pixels relative to the window's client area."""
    control = CONTROLS[name]
    left, top, width, height = control["rect"]
    if control["parent"]:
        outer_left, outer_top, _, _ = rect(control["parent"])
        left, top = left + outer_left, top + outer_top
    return left, top, width, height


def is_autosized(name):
    return CONTROLS[name]["autosize"]


def click_point(name):
    """The point a player clicks: the centre of the control's stored rectangle.

    An autosized label may come out smaller than stored when another font takes
    the place of the stored one, so it is clicked near its top-left instead.
    """
    left, top, width, height = rect(name)
    if is_autosized(name):
        return left + min(width // 2, 12), top + min(height // 2, 6)
    return left + width // 2, top + height // 2
