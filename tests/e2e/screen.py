"""The player's eyes: what the program shows, read exactly through the
accessibility tree (AT-SPI), as a screen reader reads it.

Controls are recognised by where they are: the object of the right kind whose
rectangle is the control's place in the stored layout. Hidden controls are not
on screen, so nothing is found at their place.
"""
from dataclasses import dataclass, field

import pyatspi
from gi.repository import GLib

import layout
from waiting import wait_until

_WINDOW_ROLES = {pyatspi.ROLE_FRAME, pyatspi.ROLE_FILLER, pyatspi.ROLE_WINDOW,
                 pyatspi.ROLE_DIALOG}
_BOX_ROLES = {pyatspi.ROLE_ALERT, pyatspi.ROLE_DIALOG}


def _kind_roles(name):
    if name.startswith("Command"):
        return {pyatspi.ROLE_PUSH_BUTTON}
    if name == "Text1":
        return {pyatspi.ROLE_TEXT, pyatspi.ROLE_ENTRY}
    if name == "Frame1":
        return {pyatspi.ROLE_PANEL, pyatspi.ROLE_GROUPING, pyatspi.ROLE_FILLER}
    return {pyatspi.ROLE_LABEL, pyatspi.ROLE_STATIC}


def text_of(accessible):
    """What the object shows: its text where it has the Text interface, else its name."""
    try:
        text = accessible.queryText()
        return text.getText(0, -1)
    except NotImplementedError:
        return accessible.name


def states_of(accessible):
    return set(accessible.getState().getStates())


def _extents(accessible):
    try:
        return tuple(accessible.queryComponent().getExtents(pyatspi.DESKTOP_COORDS))
    except NotImplementedError:
        return None


def descendants(root):
    for child in root:
        if child is None:
            continue
        yield child
        yield from descendants(child)


@dataclass
class Seen:
    """One control as it is on screen."""
    text: str
    enabled: bool
    accessible: object = field(repr=False)


@dataclass
class MessageBox:
    title: str
    text: str
    buttons: list
    accessible: object = field(repr=False)


class Screen:
    def __init__(self, pid, timeout=10.0):
        self.pid = pid
        self.app = wait_until(self._find_app, timeout, "the program's accessibility tree")

    def _find_app(self):
        for app in pyatspi.Registry.getDesktop(0):
            try:
                if app is not None and app.get_process_id() == self.pid:
                    return app
            except Exception:  # an application that left meanwhile
                continue
        return None

    def window(self):
        for child in self.app:
            if (child is not None and child.getRole() in _WINDOW_ROLES
                    and child.name == layout.WINDOW_TITLE):
                return child
        return None

    def board(self):
        """Every listed control that is showing, by name, read in one pass."""
        window = wait_until(self.window, 5.0, "the main window")
        origin = _extents(window)
        wanted = {}
        for name in layout.CAPTIONS.keys() | _LAYOUT_NAMES:
            left, top, width, height = layout.rect(name)
            wanted.setdefault((left, top), []).append((name, width, height))
        seen = {}
        for accessible in descendants(window):
            try:
                self._recognise(accessible, origin, wanted, seen)
            except GLib.GError:  # a control that went away while being read
                continue
        return seen

    @staticmethod
    def _recognise(accessible, origin, wanted, seen):
        """Adds `accessible` to `seen` if it is a listed control on screen."""
        states = states_of(accessible)
        if pyatspi.STATE_SHOWING not in states:
            return
        extents = _extents(accessible)
        if extents is None:
            return
        x, y, width, height = extents
        for name, stored_width, stored_height in wanted.get((x - origin[0], y - origin[1]), []):
            if accessible.getRole() not in _kind_roles(name):
                continue
            if not layout.is_autosized(name) and (width, height) != (stored_width,
                                                                     stored_height):
                continue
            seen[name] = Seen(text_of(accessible), pyatspi.STATE_ENABLED in states, accessible)

    def message_boxes(self):
        """The message boxes on screen, with their title, text and buttons."""
        boxes = []
        for child in self.app:
            try:
                if child is None or child.getRole() not in _BOX_ROLES:
                    continue
                if pyatspi.STATE_SHOWING not in states_of(child):
                    continue
                texts = [text_of(a) for a in descendants(child)
                         if a.getRole() == pyatspi.ROLE_LABEL and text_of(a)]
                buttons = [a.name for a in descendants(child)
                           if a.getRole() == pyatspi.ROLE_PUSH_BUTTON]
                boxes.append(MessageBox(child.name, "\n".join(texts), buttons, child))
            except GLib.GError:  # a box that closed while being read
                continue
        return boxes


_LAYOUT_NAMES = (
    {"Text1", "Frame1", "Label6", "Label7"}
    | {f"{cell}{row}" for cell in ("bol", "pgia", "lbltry") for row in layout.ROWS}
    | {f"lbl{position}" for position in layout.POSITIONS}
)
