"""What a player of bul-pgia reads and hears, for every scenario played from
outside: the notices, the captions, the accessible names, the sentences told
to a screen reader, and the one way a guess is scored.

The game's and the form's own tables are printed by the built print_tables
(tests/form/print_tables.cpp) and read from there, never typed again; the
build folder is the one pytest is given (--build, passed on in
BUL_PGIA_BUILD), else build/ beside tests/.
"""
import json
import os
import re
import subprocess

_TOP = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
BUILD_VARIABLE = "BUL_PGIA_BUILD"


def _tables():
    build = os.environ.get(BUILD_VARIABLE) or os.path.join(_TOP, "build")
    printer = os.path.join(build, "tests", "form", "print_tables")
    if not os.access(printer, os.X_OK):
        raise RuntimeError(f"no {printer}: build it with scripts/build.sh")
    return json.loads(subprocess.run([printer], capture_output=True, check=True).stdout)


_TABLES = _tables()


def _notice(entry):
    return entry["title"], entry["text"]


WINDOW_TITLE = _TABLES["window_title"]
ACCESS_CODE = _TABLES["access_code"]
# The guess box keeps the first this many characters of what it is given.
GUESS_BOX_LENGTH = _TABLES["guess_box_length"]

# (title, text) of each notice; WINS by the row of the winning guess.
WINS = {row: _notice(entry) for row, entry in enumerate(_TABLES["wins"], start=1)}
LOST = _notice(_TABLES["lost"])
ERROR_TITLE, NEED_FOUR_DIGITS = _notice(_TABLES["need_four_digits"])
_, REPEATED_DIGIT = _notice(_TABLES["repeated_digit"])
CODES_TITLE, CODES_TEXT = _notice(_TABLES["codes_mode_on"])
# The one button of every notice: the toolkit's own, not the game's.
OK_BUTTON = ["OK"]

# Every control of the window, topmost first, as the layout table holds it:
# name, kind, parent, rect (pixels, relative to the parent), caption,
# accessible_name, autosize.
CONTROLS = {control["name"]: control for control in _TABLES["controls"]}
# The buttons' captions, as the player reads them.
CAPTIONS = {name: c["caption"] for name, c in CONTROLS.items() if c["kind"] == "button"}
ACCESSIBLE_NAMES = {name: c["accessible_name"] for name, c in CONTROLS.items()
                    if c["accessible_name"]}
GUESS_BOX = ACCESSIBLE_NAMES["Text1"]
CREDIT = CONTROLS["Label6"]["caption"]
CODES_PANEL = CONTROLS["Frame1"]["caption"]


def row_sentence(row, guess, bulls, hits):
    """What a screen reader is told once a guess went into row `row`."""
    return _TABLES["row_sentences"][row - 1].format(guess=guess, bulls=bulls, hits=hits)


def secret_sentence(secret):
    """What a screen reader is told once the secret shows."""
    return _TABLES["secret_sentence"].format(secret=secret)


def row_sentence_pattern(row, guess):
    """A regular expression of row `row`'s sentence for `guess`, its two
    counts as groups."""
    fixed = re.split(r"\{\w+\}", _TABLES["row_sentences"][row - 1])
    return re.escape(fixed[0]) + re.escape(guess) + r"(\d)".join(map(re.escape, fixed[1:]))


def secret_sentence_pattern():
    """A regular expression of the secret's sentence, the four digits a group."""
    return r"(\d{4})".join(map(re.escape, _TABLES["secret_sentence"].split("{secret}")))


def score(guess, secret):
    """(bulls, hits) of `guess`, four different characters, against a secret of
    four different digits: bulls stand in their place, hits elsewhere."""
    bulls = sum(g == s for g, s in zip(guess, secret))
    return bulls, len(set(guess) & set(secret)) - bulls
