"""A whole game played the way a blind player plays it with a screen reader:
controls found by their role and accessible name, buttons pressed through the
Action interface, texts read through the Text interface and put in through the
EditableText interface, keys and the one double-click sent through AT-SPI's
own device events. No X tool is used, and nothing is found by its position.

Where there is no input device at all (a headless Wayland compositor), the
game is won without keys or clicks: guesses are put in and checked through the
accessibility tree alone, and the secret is found from their counts."""
import collections
import itertools

import pyatspi
from gi.repository import GLib

from program import Program
from screen import descendants, states_of
from vocabulary import (ACCESSIBLE_NAMES, CAPTIONS, CODES_PANEL, CREDIT, ERROR_TITLE, GUESS_BOX,
                        NEED_FOUR_DIGITS, OK_BUTTON, WINDOW_TITLE, WINS, score)
from waiting import wait_until

CHECK, NEW_GAME = CAPTIONS["Command1"], CAPTIONS["Command3"]
DIGIT_BUTTONS = tuple(CAPTIONS[f"Command{n}"] for n in range(4, 8))


def _digit(position):
    """The accessible name of the secret's digit at `position`."""
    return ACCESSIBLE_NAMES[f"lbl{position}"]


class AccessibleGame(Program):
    def __init__(self, program):
        super().__init__(program)
        self.app = self.wait_for_start(self._find_app, 15.0, "the program on the accessibility bus")
        self.window = self.wait_for_start(
            lambda: next((c for c in self.app if c is not None and c.name == WINDOW_TITLE
                          and c.getRole() in (pyatspi.ROLE_FRAME, pyatspi.ROLE_FILLER)),
                         None), 10.0, "the window " + WINDOW_TITLE)

    def _find_app(self):
        return next((a for a in pyatspi.Registry.getDesktop(0)
                     if a is not None and a.get_process_id() == self.process.pid), None)

    # -- finding and reading -----------------------------------------------

    def find(self, role, name, root=None):
        """The one object of `role` called `name` (hidden or not)."""
        found = [a for a in descendants(root or self.window)
                 if a.getRole() == role and a.name == name]
        assert len(found) == 1, f"{len(found)} objects of role {role} named {name!r}"
        return found[0]

    def showing(self, role, name):
        return pyatspi.STATE_SHOWING in states_of(self.find(role, name))

    def enabled(self, role, name):
        return pyatspi.STATE_ENABLED in states_of(self.find(role, name))

    def read(self, role, name):
        return self.find(role, name).queryText().getText(0, -1)

    def label(self, name):
        return self.read(pyatspi.ROLE_LABEL, name)

    def row(self, number):
        return tuple(self.label(ACCESSIBLE_NAMES[f"{cell}{number}"])
                     for cell in ("lbltry", "bol", "pgia"))

    def message_box(self):
        for child in self.app:
            try:
                if (child is not None and child.getRole() == pyatspi.ROLE_ALERT
                        and pyatspi.STATE_SHOWING in states_of(child)):
                    return child
            except GLib.GError:  # a box that closed while being looked at
                continue
        return None

    # -- acting --------------------------------------------------------------

    def press(self, name, root=None):
        button = self.find(pyatspi.ROLE_PUSH_BUTTON, name, root)
        action = button.queryAction()
        names = [action.getName(i) for i in range(action.nActions)]
        action.doAction(names.index("Press") if "Press" in names else 0)

    def type_guess(self, text):
        """Puts the focus in the guess box and types `text` key by key."""
        box = self.find(pyatspi.ROLE_TEXT, GUESS_BOX)
        box.queryComponent().grabFocus()
        wait_until(lambda: pyatspi.STATE_FOCUSED in states_of(box), 5.0, "focus in the guess box")
        before = box.queryText().getText(0, -1)
        for character in text:
            pyatspi.Registry.generateKeyboardEvent(0, character, pyatspi.KEY_STRING)
        wait_until(lambda: box.queryText().getText(0, -1) == before + text, 5.0,
                   f"{text!r} in the guess box")

    def set_guess(self, text):
        """Puts `text` into the guess box at once through the EditableText
        interface, as speech input and other assistive tools do."""
        box = self.find(pyatspi.ROLE_TEXT, GUESS_BOX)
        assert box.queryEditableText().setTextContents(text), "the guess box refused text"
        wait_until(lambda: box.queryText().getText(0, -1) == text, 5.0,
                   f"{text!r} in the guess box")

    def double_click(self, role, name):
        """A double-click at the middle of the object, as a screen reader's
        mouse-routing command sends it."""
        x, y, width, height = self.find(role, name).queryComponent().getExtents(
            pyatspi.DESKTOP_COORDS)
        pyatspi.Registry.generateMouseEvent(x + width // 2, y + height // 2, pyatspi.MOUSE_B1D)

    def dismiss(self, box):
        self.press(OK_BUTTON[0], box)
        wait_until(lambda: self.message_box() is None, 5.0, "the message box to close")


class Announcements:
    """The text changes the program announces, as a screen reader hears them:
    (accessible name, inserted text) in order of arrival."""

    def __init__(self):
        self.heard = []
        pyatspi.Registry.registerEventListener(self._hear, "object:text-changed:insert")

    def _hear(self, event):
        try:
            self.heard.append((event.source.name, event.any_data))
        except GLib.GError:
            pass

    def listen(self):
        """Takes every announcement that has arrived; returns all heard so far."""
        context = GLib.MainContext.default()
        while context.iteration(False):
            pass
        return self.heard


def _score(guess, secret):
    return tuple(map(str, score(guess, secret)))


def _read_box(box):
    """(title, texts shown, button names) of an open message box."""
    texts = [a.queryText().getText(0, -1) if "Text" in a.get_interfaces() else a.name
             for a in descendants(box) if a.getRole() == pyatspi.ROLE_LABEL]
    buttons = [a.name for a in descendants(box) if a.getRole() == pyatspi.ROLE_PUSH_BUTTON]
    return box.name, [t for t in texts if t], buttons


def _check_box(box, title, text):
    assert _read_box(box) == (title, [text], OK_BUTTON), f"message box {_read_box(box)}"


def _check_start(game):
    """Every row empty with counts "0", no digit of the secret to be heard, no
    codes panel, checking on."""
    for number in range(1, 9):
        assert game.row(number) == ("", "0", "0"), f"row {number}: {game.row(number)}"
    for position in range(1, 5):
        digit = _digit(position)
        assert not game.showing(pyatspi.ROLE_LABEL, digit), f"{digit} is showing"
        assert game.label(digit) == "", f"{digit} can be heard while hidden"
    assert not game.showing(pyatspi.ROLE_PANEL, CODES_PANEL), "the codes panel is showing"
    assert game.enabled(pyatspi.ROLE_PUSH_BUTTON, CHECK), "בדוק is disabled at the start"


def _check_guess(game, number, guess, counts):
    """Checks `guess`, which must go into row `number` with `counts` and open no box."""
    game.set_guess(guess)
    game.press(CHECK)
    wait_until(lambda: game.row(number) == (guess, *counts), 5.0,
               f"row {number} to show {guess} {counts}")
    assert game.message_box() is None, f"guess {guess!r} opened a message box"
    assert game.read(pyatspi.ROLE_TEXT, GUESS_BOX) == "", "the guess box was not emptied"


def _win(game, number, secret, rating):
    """Checks the secret, which must win in row `number` with `rating`."""
    game.set_guess(secret)
    game.press(CHECK)
    box = wait_until(game.message_box, 5.0, "the rating")
    _check_box(box, *rating)
    assert game.row(number) == (secret, "4", "0"), \
        f"row {number} under the rating: {game.row(number)}"
    game.dismiss(box)
    wait_until(lambda: not game.enabled(pyatspi.ROLE_PUSH_BUTTON, CHECK), 5.0,
               "checking to stop")
    assert all(game.showing(pyatspi.ROLE_LABEL, _digit(p)) for p in range(1, 5)), \
        "the secret is hidden"
    assert "".join(game.label(_digit(p)) for p in range(1, 5)) == secret, "another secret shows"


def _new_game(game, announcements):
    """A new game hides everything again, and the new secret is never heard."""
    heard_before = len(announcements.listen())
    game.press(NEW_GAME)
    wait_until(lambda: all(game.row(n) == ("", "0", "0") for n in range(1, 9))
               and not game.showing(pyatspi.ROLE_PANEL, CODES_PANEL), 5.0, "a new game")
    digits_heard = [(name, text) for name, text in announcements.listen()[heard_before:]
                    if name in map(_digit, range(1, 5))]
    assert not digits_heard, f"the new secret was announced: {digits_heard}"
    assert game.enabled(pyatspi.ROLE_PUSH_BUTTON, CHECK), "בדוק is disabled in a new game"
    assert all(game.label(_digit(p)) == "" for p in range(1, 5)), "a digit can be heard"


def play_to_win(game):
    label = pyatspi.ROLE_LABEL
    _check_start(game)
    announcements = Announcements()

    # Codes mode, and the secret digit by digit.
    game.double_click(label, CREDIT)
    panel = wait_until(lambda: game.showing(pyatspi.ROLE_PANEL, CODES_PANEL)
                       and game.find(pyatspi.ROLE_PANEL, CODES_PANEL), 5.0, "the codes panel")
    secret = ""
    for position, button in enumerate(DIGIT_BUTTONS, start=1):
        game.press(button, panel)
        digit = _digit(position)
        wait_until(lambda: game.showing(label, digit), 5.0, f"{digit} to show")
        secret += game.label(digit)
    assert secret.isdigit() and len(set(secret)) == 4, f"secret {secret!r}"

    # Two wrong guesses, each read back with its counts, then the secret. The
    # second is put in by an assistive tool rather than typed: the game must
    # check what the box shows, however it got there.
    wrong = [secret[1:] + secret[0], secret[1] + secret[0] + secret[2:]]
    for number, guess in enumerate(wrong, start=1):
        if number == 1:
            game.type_guess(guess)
        else:
            game.set_guess(guess)
        game.press(CHECK)
        wait_until(lambda: game.row(number) == (guess, *_score(guess, secret)), 5.0,
                   f"row {number} to show {guess}")
        assert game.message_box() is None, "a wrong guess opened a message box"
        # The new row is announced: its guess, bulls and hits.
        cells = (ACCESSIBLE_NAMES[f"{cell}{number}"] for cell in ("lbltry", "bol", "pgia"))
        expected = {(name, text) for name, text in zip(cells, game.row(number)) if text != "0"}
        wait_until(lambda: expected <= set(announcements.listen()), 5.0,
                   f"announcements of row {number}: {expected}")
        assert game.read(pyatspi.ROLE_TEXT, GUESS_BOX) == "", "the guess box was not emptied"
    game.type_guess(secret)
    _win(game, 3, secret, WINS[3])
    _new_game(game, announcements)


# -- finding the secret from the counts -----------------------------------------

_SECRETS = ["".join(p) for p in itertools.permutations("0123456789", 4)]
# Characters no secret holds: a guess with one of them can never win.
_FILLERS = "abcd"


def _all_probes():
    """Every guess of four different characters from the digits and the
    fillers, the fillers always in the order a, b, c, d: which filler stands
    where tells nothing."""
    probes = []
    for fillers in range(5):
        for places in itertools.combinations(range(4), fillers):
            for digits in itertools.permutations("0123456789", 4 - fillers):
                chosen, filler = iter(digits), iter(_FILLERS)
                probes.append("".join(next(filler) if i in places else next(chosen)
                                      for i in range(4)))
    return probes


_PROBES = _all_probes()


def _next_probe(candidates, tried_digits):
    """The guess that leaves the fewest candidates in the worst case, among
    those that cannot win (no candidate is one). Digits not tried yet are
    alike, so only the lowest of them stand for all."""
    untried = [d for d in "0123456789" if d not in tried_digits]
    possible = set(candidates)
    best = None
    for probe in _PROBES:
        new = [c for c in probe if c.isdigit() and c not in tried_digits]
        if new != untried[:len(new)] or probe in possible:
            continue
        classes = collections.Counter(score(probe, c) for c in candidates)
        rank = (max(classes.values()), -len(classes), probe)
        best = min(best, rank) if best else rank
    return best[2]


def _find_secret(game):
    """Checks guesses that cannot win until their counts leave one secret;
    returns it and the number of rows used. This leaves one secret after at
    most seven rows, whichever it is (tried on all 5040)."""
    candidates, tried, number = _SECRETS, set(), 0
    while len(candidates) > 1:
        number += 1
        assert number <= 7, f"{len(candidates)} secrets still possible after seven rows"
        probe = _next_probe(candidates, tried)
        game.set_guess(probe)
        game.press(CHECK)
        wait_until(lambda: game.row(number)[0] == probe, 5.0, f"row {number} to show {probe}")
        assert game.message_box() is None, f"guess {probe!r} opened a message box"
        counts = tuple(map(int, game.row(number)[1:]))
        candidates = [c for c in candidates if score(probe, c) == counts]
        tried |= set(probe)
    assert candidates, "no secret fits the counts shown"
    return candidates[0], number


def play_without_input_devices(game):
    """A whole game with no keyboard and no pointer: a refusal, the secret
    found from the counts, a win in the last row, and a new game."""
    _check_start(game)
    announcements = Announcements()

    game.set_guess("12")
    game.press(CHECK)
    box = wait_until(game.message_box, 5.0, "the refusal")
    _check_box(box, ERROR_TITLE, NEED_FOUR_DIGITS)
    game.dismiss(box)
    wait_until(lambda: game.read(pyatspi.ROLE_TEXT, GUESS_BOX) == "", 5.0,
               "the guess box to empty")
    assert all(game.row(n) == ("", "0", "0") for n in range(1, 9)), "a refused guess took a row"

    # The rows left before the last are filled with a guess that cannot win,
    # so that the rating is always the one of row 8.
    secret, used = _find_secret(game)
    wrong = secret[1:] + secret[0]
    for number in range(used + 1, 8):
        _check_guess(game, number, wrong, ("0", "4"))
    _win(game, 8, secret, WINS[8])
    _new_game(game, announcements)
