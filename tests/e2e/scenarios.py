"""The scenarios: each plays the program from its start as a person would and
checks, exactly, what the screen shows at every step that matters."""
import itertools
import re

import desktop
import layout
from vocabulary import (  # noqa: F401  (the page's scenarios read them here)
    ACCESS_CODE, CODES_TEXT, CODES_TITLE, CREDIT, ERROR_TITLE, LOST, NEED_FOUR_DIGITS, OK_BUTTON,
    REPEATED_DIGIT, WINS, score)
from waiting import wait_until

EMPTY_ROWS = [("", "0", "0")] * 8


# -- what a row must show -----------------------------------------------------

def expected_rows(guesses, secret):
    rows = [(g, *map(str, score(g, secret))) for g in guesses]
    return rows + EMPTY_ROWS[len(rows):]


def wrong_guesses(secret, count):
    """`count` different guesses of four different digits, none equal to
    `secret`, chosen for a spread of bulls and hits (rotations and swaps of the
    secret first, so that the hits are exercised position by position)."""
    candidates = [secret[1:] + secret[0], secret[::-1], secret[1] + secret[0] + secret[2:],
                  secret[:2] + secret[3] + secret[2]]
    candidates += ["".join(p) for p in itertools.permutations("0123456789", 4)]
    chosen = [c for c in dict.fromkeys(candidates) if c != secret][:count]
    assert len(chosen) == count
    return chosen


def losing_guesses(first_digit, count):
    """`count` guesses that cannot win against a secret starting with `first_digit`."""
    return [g for g in ("".join(p) for p in itertools.permutations("0123456789", 4))
            if g[0] != first_digit][:count]


# -- checks -------------------------------------------------------------------

def check_rows(player, rows):
    shown = player.rows()
    assert shown == rows, f"rows shown {shown}, expected {rows}"


def check_box(box, title, text):
    assert (box.title, box.text) == (title, text), \
        f"message box {box.title!r}: {box.text!r}, expected {title!r}: {text!r}"
    assert box.buttons == OK_BUTTON, f"buttons {box.buttons}, expected one OK"


def check_playing(player):
    assert player.board()["Command1"].enabled, "בדוק is disabled during play"


def check_ended(player):
    board = player.board()
    assert not board["Command1"].enabled, "בדוק is still enabled after the game ended"
    secret = player.secret_on_screen()
    assert sorted(secret) == [1, 2, 3, 4], f"secret digits showing: {secret}"
    return "".join(secret[p] for p in layout.POSITIONS)


def check_secret(secret):
    assert len(secret) == 4 and secret.isdigit() and len(set(secret)) == 4, \
        f"the secret {secret!r} is not four different digits"


def check_new_game(player):
    """A fresh board: empty rows, counts "0", no secret, no panel, checking on."""
    check_rows(player, EMPTY_ROWS)
    board = player.board()
    assert player.secret_on_screen() == {}, f"secret showing: {player.secret_on_screen()}"
    hidden_panel = [n for n in ("Frame1",) + layout.PANEL_BUTTONS if n in board]
    assert not hidden_panel, f"codes panel showing: {hidden_panel}"
    assert board["Text1"].text == "", f"guess box holds {board['Text1'].text!r}"
    for name in ("Command1", "Command2", "Command3"):
        assert board[name].text == layout.CAPTIONS[name], f"{name} shows {board[name].text!r}"
        assert board[name].enabled, f"{name} is disabled"
    assert board["Label7"].text == "", "the secret box shows text"


def open_codes_mode(player):
    player.double_click("Label6")
    wait_until(lambda: "Frame1" in player.board(), 5.0, "the codes panel")
    board = player.board()
    for name in layout.PANEL_BUTTONS:
        assert name in board, f"{name} is not showing in the open panel"
        assert board[name].text == layout.CAPTIONS[name], f"{name} shows {board[name].text!r}"
        assert board[name].enabled, f"{name} is disabled"


def read_secret(player):
    """Opens codes mode and uncovers the digits one button at a time; each
    button must uncover its own digit and only that one."""
    open_codes_mode(player)
    player.assert_no_message_box()
    assert player.secret_on_screen() == {}, "a digit showed before its button was pressed"
    for position, button in zip(layout.POSITIONS, layout.DIGIT_BUTTONS):
        player.click(button)
        shown = wait_until(lambda: position in player.secret_on_screen() and
                           player.secret_on_screen(), 5.0, f"digit {position}")
        assert sorted(shown) == list(range(1, position + 1)), \
            f"after {button} the digits {sorted(shown)} show"
    secret = "".join(player.secret_on_screen()[p] for p in layout.POSITIONS)
    check_secret(secret)
    check_playing(player)
    return secret


def play_and_expect_box(player, guess, title, text, rows, how="Return"):
    """Plays `guess`, which must open the given box; checks the board while
    the box is open (the secret is still as it was) and once it is dismissed."""
    secret_before = player.secret_on_screen()
    player.guess(guess)
    box = player.wait_for_message_box()
    check_box(box, title, text)
    check_rows(player, rows)
    assert player.secret_on_screen() == secret_before, "the secret changed under the box"
    player.dismiss(box, how)
    wait_until(lambda: player.read("Text1") == "", 5.0, "the guess box to empty")
    check_rows(player, rows)


def play_quietly(player, guess, rows):
    """Plays a guess that shows no message; checks the rows afterwards."""
    player.guess(guess)
    wait_until(lambda: player.rows() == rows and player.read("Text1") == "", 5.0,
               f"rows {rows} after {guess!r}")
    player.assert_no_message_box()
    check_playing(player)


# -- scenarios ----------------------------------------------------------------

def start_state(player):
    check_new_game(player)
    board = player.board()
    assert board["Label6"].text == CREDIT, f"credit label: {board['Label6'].text!r}"
    player.assert_no_message_box()
    player.close_window()
    status = player.wait_for_exit()
    assert status == 0, f"closing the window ended the program with status {status}"


def refusal_too_short(player):
    for typed, how in (("12", "Return"), ("", "Escape"), ("123", "click")):
        if typed:
            player.type_into_guess_box(typed)
        player.click("Command1")
        box = player.wait_for_message_box()
        check_box(box, ERROR_TITLE, NEED_FOUR_DIGITS)
        assert player.read("Text1") == typed, "the guess box emptied before the box closed"
        player.dismiss(box, how)
        wait_until(lambda: player.read("Text1") == "", 5.0, "the guess box to empty")
        check_rows(player, EMPTY_ROWS)
        check_playing(player)


def refusal_repeated(player):
    for typed, how in (("1231", "Return"), ("1134", "space"), ("aa12", "click")):
        player.type_into_guess_box(typed)
        player.click("Command1")
        box = player.wait_for_message_box()
        check_box(box, ERROR_TITLE, REPEATED_DIGIT)
        player.dismiss(box, how)
        wait_until(lambda: player.read("Text1") == "", 5.0, "the guess box to empty")
        check_rows(player, EMPTY_ROWS)
        check_playing(player)


def codes_mode_without_code(player):
    player.type_into_guess_box("12")
    open_codes_mode(player)
    player.assert_no_message_box()
    assert player.read("Text1") == "", "the partial guess survived the double-click"
    assert player.secret_on_screen() == {}, "opening codes mode uncovered digits"
    check_rows(player, EMPTY_ROWS)
    check_playing(player)
    # A second double-click with an empty box: still no message, panel stays.
    player.double_click("Label6")
    player.assert_no_message_box()
    assert "Frame1" in player.board()


def codes_mode_with_code(player):
    for attempt in range(2):  # the second time with the panel already open
        player.type_into_guess_box(ACCESS_CODE)
        player.double_click("Label6")
        box = player.wait_for_message_box()
        check_box(box, CODES_TITLE, CODES_TEXT)
        assert player.read("Text1") == ACCESS_CODE, "the code left the box under the message"
        assert ("Frame1" in player.board()) == (attempt == 1), \
            "the panel opened before the greeting was dismissed"
        player.dismiss(box, "space")
        wait_until(lambda: "Frame1" in player.board() and player.read("Text1") == "",
                   5.0, "the panel to open and the box to empty")
    check_rows(player, EMPTY_ROWS)
    assert player.secret_on_screen() == {}


def win_in_row_1_then_row_4(player):
    secret = read_secret(player)
    title, text = WINS[1]
    play_and_expect_box(player, secret, title, text, expected_rows([secret], secret))
    assert check_ended(player) == secret
    # The win disabled the focused "בדוק": its focus went on down the tab order.
    wait_until(lambda: player.focused() == "Command2", 5.0,
               f"the focus to go on to מה המספר (it is in {player.focused()!r})")
    # New game from the ended state.
    player.click("Command3")
    wait_until(lambda: player.rows() == EMPTY_ROWS and player.board()["Command1"].enabled,
               5.0, "a new game")
    check_new_game(player)
    secret = read_secret(player)
    guesses = wrong_guesses(secret, 3)
    for played in range(1, 4):
        play_quietly(player, guesses[played - 1],
                     expected_rows(guesses[:played], secret))
    title, text = WINS[4]
    play_and_expect_box(player, secret, title, text,
                        expected_rows(guesses + [secret], secret), how="Escape")
    assert check_ended(player) == secret


def loss_after_eight_guesses(player):
    # Only the first digit is read: a guess that starts with another digit
    # cannot win, and the rest of the secret stays hidden until the loss.
    open_codes_mode(player)
    player.click("Command4")
    first = wait_until(lambda: player.secret_on_screen().get(1), 5.0, "the first digit")
    guesses = losing_guesses(first, 8)
    for played in range(1, 8):
        player.guess(guesses[played - 1])
        wait_until(lambda: player.rows()[played - 1][0] == guesses[played - 1]
                   and player.read("Text1") == "", 5.0, f"guess {played}")
        player.assert_no_message_box()
        check_playing(player)
    player.guess(guesses[7])
    box = player.wait_for_message_box()
    check_box(box, *LOST)
    assert player.secret_on_screen() == {1: first}, "the secret was uncovered under the box"
    assert player.board()["Command1"].enabled, "checking ended before the box was dismissed"
    player.dismiss(box, "Return")
    secret = check_ended(player)
    assert secret[0] == first
    check_rows(player, expected_rows(guesses, secret))


def show_number(player):
    player.type_into_guess_box("12")
    player.click("Command2")
    wait_until(lambda: len(player.secret_on_screen()) == 4, 5.0, "the secret")
    player.assert_no_message_box()
    secret = check_ended(player)
    check_secret(secret)
    assert player.read("Text1") == "12", "show-number touched the guess box"
    player.click("Command2")  # a second time: the same state
    player.assert_no_message_box()
    assert check_ended(player) == secret
    # Checking is off: a full guess is not taken.
    player.type_into_guess_box("34")
    player.click("Command1")
    player.assert_no_message_box()
    check_rows(player, EMPTY_ROWS)
    assert player.read("Text1") == "1234"


def erase_then_win(player):
    secret = read_secret(player)
    guesses = wrong_guesses(secret, 2)
    for played in (1, 2):
        play_quietly(player, guesses[played - 1], expected_rows(guesses[:played], secret))
    player.type_into_guess_box("98")  # a half-typed guess survives the erase
    player.click("Command8")
    wait_until(lambda: player.rows() == EMPTY_ROWS, 5.0, "the rows to be erased")
    assert player.read("Text1") == "98"
    assert player.secret_on_screen() == dict(zip(layout.POSITIONS, secret)), \
        "erasing changed the uncovered secret"
    check_playing(player)
    player.double_click("Label6")  # empties the box; panel stays open
    wait_until(lambda: player.read("Text1") == "", 5.0, "the guess box to empty")
    title, text = WINS[1]
    play_and_expect_box(player, secret, title, text, expected_rows([secret], secret),
                        how="click")
    assert check_ended(player) == secret


def new_game_from_codes_mode(player):
    open_codes_mode(player)
    player.click("Command4")
    player.click("Command5")
    shown = wait_until(lambda: len(player.secret_on_screen()) == 2 and player.secret_on_screen(),
                       5.0, "two digits")
    known_first = shown[1]
    guess = losing_guesses(known_first, 1)[0]
    player.guess(guess)
    wait_until(lambda: player.rows()[0][0] == guess, 5.0, "the guess in row 1")
    player.type_into_guess_box("7")
    player.click("Command3")
    wait_until(lambda: "Frame1" not in player.board(), 5.0, "the panel to close")
    board = player.board()
    check_rows(player, EMPTY_ROWS)
    assert player.secret_on_screen() == {}
    assert board["Command1"].enabled
    assert board["Text1"].text == "", "a new game kept the half-typed guess"
    # The panel opens again and holds a valid new secret.
    player.double_click("Label6")
    wait_until(lambda: player.read("Text1") == "", 5.0, "the guess box to empty")
    read_secret(player)


def close_while_message_box_open(player):
    # The rating box of a win: the click that opened it still has steps to
    # run when the box goes, and the window is closing by then.
    secret = read_secret(player)
    player.guess(secret)
    box = player.wait_for_message_box()
    check_box(box, *WINS[1])
    player.close_window()
    status = player.wait_for_exit()
    assert status == 0, f"the program ended with status {status}"


def wait_for_sentence(reader, pattern, since, what):
    """The groups of `pattern`, a whole sentence Orca spoke (it may add a full
    stop) or showed in braille from `since` on."""
    sentence = re.compile(pattern + r"\.?")
    text = reader.wait_for_presented(lambda text: sentence.fullmatch(text), since, what=what)
    return sentence.fullmatch(text).groups()


def tab_to(reader, name):
    """Tab to the next control, which must be `name`: Orca says so."""
    mark = reader.mark()
    desktop.press_key("Tab")
    reader.wait_for_presented(lambda text: text.startswith(name), mark, what=f"{name!r} focused")


# The scenarios any player of the game plays, by name; the page plays those
# that close no window.
SCENARIOS = {
    scenario.__name__: scenario for scenario in (
        start_state,
        refusal_too_short,
        refusal_repeated,
        codes_mode_without_code,
        codes_mode_with_code,
        win_in_row_1_then_row_4,
        loss_after_eight_guesses,
        show_number,
        erase_then_win,
        new_game_from_codes_mode,
        close_while_message_box_open,
    )
}
