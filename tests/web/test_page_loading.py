"""The page on its way to the game: what is typed and clicked while it
loads, an address that names controls, and the one line that says the game
cannot run when a file is missing or a call into the game fails."""
import threading

import pytest
from selenium.webdriver.common.by import By

import scenarios as desktop
import servers
from page_player import PagePlayer, centre
from waiting import wait_until

FAILURE_LINE = "לא ניתן לטעון את המשחק בדפדפן הזה."

# Replaces the module's entry for a click with one that fails, as a trap in
# the game's code would, before the page gets the module: at once (it
# throws) or, on a page loaded with ?later, later (its call's promise
# rejects, as after a message box).
_TRAP_CLICKS = """
let factory;
Object.defineProperty(window, "createBulPgia", {
    configurable: true,
    set(made) { factory = made; },
    get() {
        return factory && ((options) => factory(options).then((module) => {
            module._bulPgiaClick = () => {
                const trap = new Error("a trap in the click");
                if (location.search === "?later") {
                    return Promise.reject(trap);
                }
                throw trap;
            };
            return module;
        }));
    },
});
"""


def _check_failure_line(driver, case):
    """The page's one line that says the game cannot run, in place of the board."""
    line = wait_until(lambda: next(iter(e for e in driver.find_elements(By.ID, "failure")
                                        if e.is_displayed()), None),
                      10.0, f"the failure line ({case})")
    assert line.text == FAILURE_LINE, f"{case}: the page says {line.text!r}"
    assert not driver.find_elements(By.ID, "Form1"), f"{case}: the dead board is still on the page"


@pytest.mark.not_in("webkit", reason="WebKitWebDriver runs no script before a document's own")
def test_trapped_call_shows_failure(fresh_driver, page_url):
    """A call into the module that fails, at once or later, ends the page
    with its failure line and the reason in the console, not with a board
    that ignores clicks."""
    driver = fresh_driver
    driver.on_new_document(_TRAP_CLICKS)
    for when, query in (("at once", ""), ("later", "?later")):
        player = PagePlayer(driver, page_url + query)
        player.type_into_guess_box("1234")
        player.click("Command1")
        _check_failure_line(driver, f"a click trapped {when}")
        logged = driver.console()
        assert any("a trap in the click" in text for _, text in logged), f"{when}: {logged}"


def test_guess_typed_while_loading(driver, page_folder):
    """A guess typed, "בדוק" pressed, the credit label double-clicked and
    "מה המספר" clicked while the game is still on its way (its WebAssembly
    held back, as over a slow network): once it has come, all of it is done
    in that order, and the guess that "בדוק" checks is the one the box
    showed. The box has the focus from the start: what is typed at once goes
    into it."""
    module = threading.Event()
    with servers.served(page_folder, held={"bul-pgia.wasm": module}) as url:
        driver.get(url)
        box = driver.find_element(By.ID, "Text1")
        focused = driver.execute_script("return document.activeElement.id")
        assert focused == "Text1", f"while the game loads, the focus is in {focused!r}"
        driver.press("1234")
        assert box.get_attribute("value") == "1234", box.get_attribute("value")
        # Pressed as a screen reader's action presses it, the focus left in
        # the box: the guess is in the game before the box is ever left.
        driver.execute_script("document.getElementById('Command1').click()")
        driver.click_at(*centre(driver, driver.find_element(By.ID, "Label6")), 2)
        driver.click_at(*centre(driver, driver.find_element(By.ID, "Command2")))
        module.set()
        player = PagePlayer(driver, url, load=False)
        wait_until(lambda: "Frame1" in player.board() and len(player.secret_on_screen()) == 4,
                   5.0, "the double-click and מה המספר once the game has come")
        player.assert_no_message_box()
        desktop.check_rows(player, desktop.expected_rows(["1234"], desktop.check_ended(player)))


def test_address_changes_nothing(driver, page_url):
    """A query string or a fragment naming controls and texts: a new game all the same."""
    player = PagePlayer(driver, page_url + "?Text1=1234&lbltry1=5678&Frame1=1#Command3")
    desktop.check_new_game(player)
    assert player.read("Text1") == "" and player.focused() == "Text1"
    player.guess("1234")
    wait_until(lambda: player.rows()[0][0] == "1234", 5.0, "the guess in row 1")


def test_load_failure_shows_one_line(driver, page_folder):
    """The module's script or its WebAssembly missing: one line instead of a dead board."""
    for missing in ("bul-pgia.wasm", "bul-pgia.js"):
        with servers.served(page_folder, withheld=[missing]) as url:
            driver.get(url)
            _check_failure_line(driver, f"{missing} missing")
            # What the engine and the module log of the missing file is this
            # scenario's own doing, not the page's fault.
            driver.console()
