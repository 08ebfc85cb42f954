"""The game played on the page: the desktop window's own scenarios
(tests/e2e/scenarios.py), which need only a player's hands and eyes and so
play the page as they play the window, and the page's own play."""
from selenium.webdriver.common.by import By
from selenium.webdriver.common.keys import Keys

import scenarios as desktop
from vocabulary import ACCESSIBLE_NAMES, CAPTIONS, CONTROLS, row_sentence, secret_sentence
from waiting import wait_until


# The window's scenarios that play the page as the window. Those left out
# close the window, which a page does not have.
def test_refusal_too_short(player):
    desktop.refusal_too_short(player)


def test_refusal_repeated(player):
    desktop.refusal_repeated(player)


def test_codes_mode_without_code(player):
    desktop.codes_mode_without_code(player)


def test_codes_mode_with_code(player):
    desktop.codes_mode_with_code(player)


def test_win_in_row_1_then_row_4(player):
    desktop.win_in_row_1_then_row_4(player)


def test_loss_after_eight_guesses(player):
    desktop.loss_after_eight_guesses(player)


def test_show_number(player):
    desktop.show_number(player)


def test_erase_then_win(player):
    desktop.erase_then_win(player)


def test_new_game_from_codes_mode(player):
    desktop.new_game_from_codes_mode(player)


# What a screen reader calls a control and what it takes it for: the shared
# table's names, the buttons' captions, the headings' captions; the board's
# drawing (lines, strip, frame) is not read at all.
SPOKEN = {
    "Text1": (ACCESSIBLE_NAMES["Text1"], "textbox"),
    "Label1": (CONTROLS["Label1"]["caption"], "columnheader"),
    "bol3": (ACCESSIBLE_NAMES["bol3"], "cell"),
    "pgia8": (ACCESSIBLE_NAMES["pgia8"], "cell"),
    "lbltry1": (ACCESSIBLE_NAMES["lbltry1"], "cell"),
    "Label7": (ACCESSIBLE_NAMES["Label7"], "cell"),
    "Line5": ("", "none"),
    "Label4": ("", "none"),
    "Label5": ("", "none"),
    "Command1": (CAPTIONS["Command1"], "button"),
    "Command3": (CAPTIONS["Command3"], "button"),
}

# Text put into the guess box at once, as a paste does: what the box then
# holds, and what the check makes of it (a message, or the guess in row 1).
BAD_INPUT = (
    ("five characters pasted", "12345", "1234", ("row", "1234")),
    ("a pasted surrogate pair cut by the limit", "123\U0001F600", "123",
     ("box", desktop.ERROR_TITLE, desktop.NEED_FOUR_DIGITS)),
    ("a right-to-left mark counts as a character", "\u200f123", "\u200f123", ("row", "\u200f123")),
)


def test_start_state_in_page(player):
    desktop.check_new_game(player)
    assert player.read("Label6") == 'נבנה ע"י טרמבלי'
    assert player.focused() == "Text1", f"the focus is in {player.focused()!r}"
    driver = player.driver
    assert driver.title == "זמבורה", f"document title {driver.title!r}"
    assert driver.find_element(By.TAG_NAME, "html").get_attribute("lang") == "he"
    # A phone offers its number pad for the guess.
    assert player.element("Text1").get_attribute("inputmode") == "numeric"
    icon = driver.find_element(By.CSS_SELECTOR, "link[rel=icon]").get_attribute("href")
    assert icon.endswith("/icon.ico"), icon
    for name, spoken in SPOKEN.items() if driver.accessible_names else ():
        element = player.element(name)
        heard = (element.accessible_name, element.aria_role)
        assert heard == spoken, f"{name} is read as {heard}, expected {spoken}"
    if not driver.accessible_names:
        print(f"{driver.engine}: what a screen reader hears is left to the other engines")
    player.assert_no_message_box()
    # Enter in the guess box checks nothing: only בדוק does.
    player.type_into_guess_box("1234")
    player.press(Keys.ENTER)
    player.assert_no_message_box()
    # Nor on a focused button: the window has no default button, and only
    # Space clicks the one that has the focus.
    for button in ("Command1", "Command2"):
        player.press(Keys.TAB)
        assert player.focused() == button, f"Tab went to {player.focused()!r}"
        player.press(Keys.ENTER)
        player.assert_no_message_box()
    desktop.check_rows(player, desktop.EMPTY_ROWS)
    assert player.secret_on_screen() == {}, "Enter on מה המספר showed the secret"
    assert player.read("Text1") == "1234"


def test_tab_order(player):
    def tabbing_from_text1(count):
        player.click("Text1")
        order = []
        for _ in range(count):
            player.press(Keys.TAB)
            order.append(player.focused())
        return order

    closed = tabbing_from_text1(4)
    assert closed[:3] == ["Command1", "Command2", "Command3"], closed
    assert closed[3] not in desktop.layout.PANEL_BUTTONS, f"Tab reached {closed[3]} in the hidden panel"
    desktop.open_codes_mode(player)
    opened = tabbing_from_text1(8)
    assert opened == ["Command1", "Command2", "Command3", *desktop.layout.PANEL_BUTTONS], opened
    # A label never takes the focus: after a click on a count and the
    # double-click on the credit label, typing still goes into the box.
    player.type_into_guess_box("12")
    player.click("bol3")
    player.double_click("Label6")
    wait_until(lambda: player.read("Text1") == "", 5.0, "the double-click to empty the box")
    player.press("34")
    wait_until(lambda: player.read("Text1") == "34", 5.0,
               f"typing to go into the box (the focus is in {player.focused()!r})")


def test_message_box_is_modal(player):
    player.type_into_guess_box("12")
    player.click("Command1")
    box = player.wait_for_message_box()
    desktop.check_box(box, desktop.ERROR_TITLE, desktop.NEED_FOUR_DIGITS)
    assert box.role == "alertdialog" and box.modal, f"{box.role} modal={box.modal}"
    assert box.focused == "OK", f"the focus is on {box.focused!r}, not on OK"
    # Nothing under the box takes a click, a double-click or a key.
    player.click("Command2")
    player.double_click("Label6")
    player.press("9")
    assert player.message_box() is not None, "the box closed by a click beside it"
    board = player.board()
    assert player.secret_on_screen() == {}, "מה המספר was clicked through the box"
    assert "Frame1" not in board, "the panel opened through the box"
    assert board["Text1"].text == "12", "the guess box took a key through the box"
    player.dismiss(box, "Escape")
    wait_until(lambda: player.read("Text1") == "", 5.0, "the guess box to empty")
    assert player.focused() == "Command1", \
        f"the focus went to {player.focused()!r}, not back to the button clicked"
    desktop.check_rows(player, desktop.EMPTY_ROWS)
    desktop.check_playing(player)
    # A win disables "בדוק", pressed with Space: its focus goes on to the
    # next control in the tab order, as the window moves it.
    secret = desktop.read_secret(player)
    player.type_into_guess_box(secret)
    player.press(Keys.TAB)
    player.press(Keys.SPACE)
    player.dismiss(player.wait_for_message_box())
    wait_until(lambda: player.focused() == "Command2", 5.0,
               f"the focus to go on to מה המספר (it is in {player.focused()!r})")


def test_bad_input(player):
    for what, pasted, shown, outcome in BAD_INPUT:
        player.paste_into_guess_box(pasted)
        wait_until(lambda: player.read("Text1") == shown, 5.0,
                   f"{what}: the box to show {shown!r} (it shows {player.read('Text1')!r})")
        player.click("Command1")
        if outcome[0] == "box":
            box = player.wait_for_message_box()
            desktop.check_box(box, *outcome[1:])
            player.dismiss(box)
            desktop.check_rows(player, desktop.EMPTY_ROWS)
        else:
            wait_until(lambda: player.rows()[0][0] == outcome[1], 5.0, f"{what}: row 1")
        wait_until(lambda: player.read("Text1") == "", 5.0, f"{what}: the box to empty")
        player.click("Command3")
        wait_until(lambda: player.rows() == desktop.EMPTY_ROWS, 5.0, "a new game")


def check_accessible(player, state):
    violations = player.accessibility_violations()
    assert not violations, f"{state}: the accessibility checker finds {violations}"


def check_news(player, expected, what):
    wait_until(lambda: player.news() == expected, 5.0,
               f"{what}: the live region to say {expected!r} (it says {player.news()!r})")


def test_heard_through_a_game(player):
    """One sentence in the live region for what each event showed, and no
    accessibility fault at the start, under a refusal, with the codes panel
    open and after a win."""
    check_accessible(player, "at the start")
    player.guess("12")
    box = player.wait_for_message_box()
    check_accessible(player, "with a refusal box open")
    player.dismiss(box)
    # The handler ends by emptying the box; only then would it have spoken.
    wait_until(lambda: player.read("Text1") == "", 5.0, "the refusal's handler to end")
    assert player.news() == "", f"a refused guess said {player.news()!r}"
    secret = desktop.read_secret(player)
    check_accessible(player, "with the codes panel open")
    check_news(player, secret_sentence(secret), "the secret uncovered")
    guesses = [secret[1:] + secret[0], secret]
    desktop.play_quietly(player, guesses[0], desktop.expected_rows(guesses[:1], secret))
    check_news(player, row_sentence(1, guesses[0], *desktop.score(guesses[0], secret)),
               "a guess")
    player.guess(secret)
    player.dismiss(player.wait_for_message_box())
    check_news(player, row_sentence(2, secret, 4, 0), "the winning guess")
    check_accessible(player, "after a win")
    # An event that shows nothing leaves nothing there: not the erased row,
    # not the last game's secret.
    player.click("Command8")
    check_news(player, "", "the rows erased")
    player.click("Command3")
    check_news(player, "", "a new game")
    player.click("Command2")
    check_news(player, secret_sentence(desktop.check_ended(player)), "the secret shown")
    player.click("Command3")
    check_news(player, "", "the next game")


