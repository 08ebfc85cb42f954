"""Where a player finds each control: the stored layout of the window, in twips.

Only the controls the tests press or read are listed. Positions are relative
to the window's client area, or to the codes panel for the five buttons in it.
15 twips are one pixel.
"""
from dataclasses import dataclass

TWIPS_PER_PIXEL = 15
WINDOW_TITLE = "זמבורה"
ROWS = range(1, 9)
POSITIONS = range(1, 5)


@dataclass(frozen=True)
class Place:
    left: int
    top: int
    width: int
    height: int
    inside: str = ""         # "" for the window, else the name of the panel
    autosize: bool = False   # keeps left and top, takes the size of its text


_PLACES = {
    "Text1": Place(3720, 1320, 975, 495),
    "Command1": Place(4920, 1320, 975, 495),
    "Command2": Place(1320, 6720, 855, 615),
    "Command3": Place(240, 6720, 855, 615),
    "Frame1": Place(3720, 3480, 2055, 3975),
    "Command4": Place(240, 360, 1575, 495, inside="Frame1"),
    "Command5": Place(240, 960, 1575, 495, inside="Frame1"),
    "Command6": Place(240, 1560, 1575, 495, inside="Frame1"),
    "Command7": Place(240, 2160, 1575, 495, inside="Frame1"),
    "Command8": Place(240, 2880, 1575, 855, inside="Frame1"),
    "Label6": Place(3840, 480, 1965, 300, autosize=True),
    "Label7": Place(2400, 6720, 1095, 615),
    "Label5": Place(120, 240, 3495, 7215),   # the grid's sunken border
}
for _row in ROWS:
    _top = 960 + 720 * (_row - 1)
    _PLACES[f"bol{_row}"] = Place(240, _top, 855, 495)
    _PLACES[f"pgia{_row}"] = Place(1320, _top, 855, 495)
    _PLACES[f"lbltry{_row}"] = Place(2400, _top, 1095, 465)
for _position in POSITIONS:
    _PLACES[f"lbl{_position}"] = Place(2520 + 240 * (_position - 1), 6840, 195, 420,
                                       autosize=True)

# Captions of the buttons, as the player reads them.
CAPTIONS = {
    "Command1": "בדוק",
    "Command2": "מה המספר",
    "Command3": "חדש",
    "Command4": "מה הספרה הראשונה",
    "Command5": "מה הספרה השניה",
    "Command6": "מה הספרה השלישית",
    "Command7": "מה הספרה הרביעית",
    "Command8": "מחק את כל ניסיונותי עד עכשיו",
}
DIGIT_BUTTONS = ("Command4", "Command5", "Command6", "Command7")  # lbl1..lbl4
PANEL_BUTTONS = DIGIT_BUTTONS + ("Command8",)


def pixels(twips):
    return twips // TWIPS_PER_PIXEL


def rect(name):
    """(left, top, width, height) in pixels relative to the window's client area."""
    place = _PLACES[name]
    left, top = pixels(place.left), pixels(place.top)
    if place.inside:
        outer_left, outer_top, _, _ = rect(place.inside)
        left, top = left + outer_left, top + outer_top
    return left, top, pixels(place.width), pixels(place.height)


def is_autosized(name):
    return _PLACES[name].autosize


def click_point(name):
    """The point a player clicks: the centre of the control's stored rectangle.

    An autosized label may come out smaller than stored when another font takes
    the place of the stored one, so it is clicked near its top-left instead.
    """
    left, top, width, height = rect(name)
    if is_autosized(name):
        return left + min(width // 2, 12), top + min(height // 2, 6)
    return left + width // 2, top + height // 2
