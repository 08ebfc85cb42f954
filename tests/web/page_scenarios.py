"""The page's scenarios: the desktop's own (tests/e2e/scenarios.py), which need
only a player's hands and eyes and so run in the browser unchanged, and those
that only a page has."""
import io
import json
import os
import re
import shutil
import sys
import tempfile
import threading
import time
import urllib.error
import urllib.request

from PIL import Image
from selenium.webdriver.common.by import By
from selenium.webdriver.common.keys import Keys

import browser
import desktop as keyboard  # the X server's keyboard (tests/e2e/desktop.py)
import scenarios as desktop
from page_player import DRAWN, PagePlayer, centre
from vocabulary import ACCESSIBLE_NAMES, CAPTIONS, CONTROLS, secret_sentence
from waiting import wait_until

# The desktop's scenarios that play the page as they play the window. Those
# left out close the window, which a page does not have.
SHARED = (
    "refusal_too_short",
    "refusal_repeated",
    "codes_mode_without_code",
    "codes_mode_with_code",
    "win_in_row_1_then_row_4",
    "loss_after_eight_guesses",
    "show_number",
    "erase_then_win",
    "new_game_from_codes_mode",
)

FAILURE_LINE = "לא ניתן לטעון את המשחק בדפדפן הזה."

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


# What a row shows, as the live region must say it after the guess.
ROW_SENTENCE = "ניסיון {}: {}, בול {}, פגיעה {}"
SECRET_SENTENCE = secret_sentence("{}")

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


# Screens the board must fit whole, without a scroll bar: CSS pixels, a touch
# phone or not, and the least scale of the board there.
SCREENS = (
    (320, 568, True, None),
    (360, 640, True, None),
    (1920, 1080, False, 1.8),
)

# Where the board is drawn, the viewport's size and how far the page scrolls.
_BOARD_ON_SCREEN = DRAWN + """
const board = drawn(document.getElementById("Form1"));
const page = document.scrollingElement;
return {board: [board.left, board.top, board.right, board.bottom],
        viewport: [innerWidth, innerHeight],
        scrolls: [page.scrollWidth - page.clientWidth, page.scrollHeight - page.clientHeight]};
"""


def board_scale(player):
    """How many times its stored size the board is drawn, from a button's width."""
    width = player.driver.execute_script(
        DRAWN + "return drawn(document.getElementById('Command1')).width")
    return width / desktop.layout.rect("Command1")[2]


def serves_itself(scenario):
    """Marks a scenario that gets the browser and the page's folder, to serve
    it as it needs, instead of a player on the page."""
    scenario.serves_itself = True
    return scenario


def with_screen_reader(scenario):
    """Marks a scenario of a chromium with a window on a private desktop,
    already opened at the page's address, and Orca (tests/e2e/orca.py)
    reading it: it gets a function that attaches WebDriver to that chromium,
    and Orca."""
    scenario.with_screen_reader = True
    scenario.engines = ("chromium",)
    return scenario


def against_the_desktop(scenario):
    """Marks a scenario that also gets the folder of the desktop window's
    screenshot artefacts (tests/window/screenshot_test.cpp); it compares
    chromium's drawing alone with the window's."""
    scenario.needs_desktop = True
    scenario.engines = ("chromium",)
    return scenario


def engines_of(scenario):
    """The engines a scenario runs in: every one unless it says otherwise."""
    return getattr(scenario, "engines", browser.ENGINES)


def start_state_in_page(player):
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
    for name, spoken in SPOKEN.items() if getattr(driver, "accessible_names", True) else ():
        element = player.element(name)
        heard = (element.accessible_name, element.aria_role)
        assert heard == spoken, f"{name} is read as {heard}, expected {spoken}"
    if not getattr(driver, "accessible_names", True):
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


def tab_order(player):
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


def message_box_is_modal(player):
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


def bad_input(player):
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


def heard_through_a_game(player):
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
    check_news(player, SECRET_SENTENCE.format(secret), "the secret uncovered")
    guesses = [secret[1:] + secret[0], secret]
    desktop.play_quietly(player, guesses[0], desktop.expected_rows(guesses[:1], secret))
    check_news(player, ROW_SENTENCE.format(1, guesses[0], *desktop.score(guesses[0], secret)),
               "a guess")
    player.guess(secret)
    player.dismiss(player.wait_for_message_box())
    check_news(player, ROW_SENTENCE.format(2, secret, 4, 0), "the winning guess")
    check_accessible(player, "after a win")
    # An event that shows nothing leaves nothing there: not the erased row,
    # not the last game's secret.
    player.click("Command8")
    check_news(player, "", "the rows erased")
    player.click("Command3")
    check_news(player, "", "a new game")
    player.click("Command2")
    check_news(player, SECRET_SENTENCE.format(desktop.check_ended(player)), "the secret shown")
    player.click("Command3")
    check_news(player, "", "the next game")


@with_screen_reader
def orca_hears_a_guess(attach, reader):
    """The page opened as a link opens it, with Orca running, in a window
    given the focus as it appears. As soon as Orca names the guess box, a
    guess is typed through the X server, "בדוק" reached with Tab and pressed
    with Space, as a blind player does: every digit is in the box and Orca
    presents the row's sentence from the live region."""
    # No window manager gives the browser's new window the input focus; Orca
    # reads only the active window. The page loads meanwhile: nothing waits
    # for its load.
    keyboard.focus(keyboard.windows_of_class("chromium")[0])
    reader.wait_for_presented(lambda text: text.startswith("תיבת ניחוש"), timeout=30.0,
                              what="Orca to name the guess box")
    keyboard.type_text("1234")
    player = PagePlayer(attach(), None, load=False)
    # A key that Orca takes for its own (browse mode's "1" is the next
    # heading) never reaches the box.
    try:
        wait_until(lambda: player.read("Text1") == "1234", 5.0)
    except AssertionError:
        raise AssertionError("1234 typed as Orca named the guess box, but the box shows "
                             f"{player.read('Text1')!r}") from None
    desktop.tab_to(reader, "בדוק")
    mark = reader.mark()
    keyboard.press_key("space")
    row = wait_until(lambda: player.rows()[0][0] == "1234" and player.rows()[0], 5.0, "row 1")
    sentence = ROW_SENTENCE.format(1, "1234", row[1], row[2])
    # With no speech server Orca shows the message as a braille line, inside
    # the block it logs for a live region's message.
    heard = reader.wait_for_presented(lambda text: sentence in text, since=mark,
                                      what=f"Orca to present {sentence!r}")
    lines = reader.lines(mark)
    at = next(i for i, line in enumerate(lines) if "BRAILLE LINE" in line and sentence in line)
    blocks = [line for line in lines[:at] if "PRESENT LIVE REGION MESSAGE" in line]
    assert blocks and blocks[-1].startswith("vvvvv"), \
        f"Orca presented {heard!r}, but not as a live region's message"
    print(f"Orca presented the live region's message {heard!r}")


def _check_failure_line(driver, case):
    """The page's one line that says the game cannot run, in place of the board."""
    line = wait_until(lambda: next(iter(e for e in driver.find_elements(By.ID, "failure")
                                        if e.is_displayed()), None),
                      10.0, f"the failure line ({case})")
    assert line.text == FAILURE_LINE, f"{case}: the page says {line.text!r}"
    assert not driver.find_elements(By.ID, "Form1"), f"{case}: the dead board is still on the page"


@serves_itself
def trapped_call_shows_failure(driver, folder):
    """A call into the module that fails, at once or later, ends the page
    with its failure line and the reason in the console, not with a board
    that ignores clicks."""
    driver.on_new_document(_TRAP_CLICKS)
    with browser.served(folder) as url:
        for when, query in (("at once", ""), ("later", "?later")):
            player = PagePlayer(driver, url + query)
            player.type_into_guess_box("1234")
            player.click("Command1")
            _check_failure_line(driver, f"a click trapped {when}")
            logged = driver.console()
            assert any("a trap in the click" in text for _, text in logged), f"{when}: {logged}"


@serves_itself
def guess_typed_while_loading(driver, folder):
    """A guess typed, "בדוק" pressed, the credit label double-clicked and
    "מה המספר" clicked while the game is still on its way (its WebAssembly
    held back, as over a slow network): once it has come, all of it is done
    in that order, and the guess that "בדוק" checks is the one the box
    showed. The box has the focus from the start: what is typed at once goes
    into it."""
    module = threading.Event()
    with browser.served(folder, held={"bul-pgia.wasm": module}) as url:
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


@serves_itself
def address_changes_nothing(driver, folder):
    """A query string or a fragment naming controls and texts: a new game all the same."""
    with browser.served(folder) as url:
        player = PagePlayer(driver, url + "?Text1=1234&lbltry1=5678&Frame1=1#Command3")
        desktop.check_new_game(player)
        assert player.read("Text1") == "" and player.focused() == "Text1"
        player.guess("1234")
        wait_until(lambda: player.rows()[0][0] == "1234", 5.0, "the guess in row 1")


@serves_itself
def load_failure_shows_one_line(driver, folder):
    """The module's script or its WebAssembly missing: one line instead of a dead board."""
    for missing in ("bul-pgia.wasm", "bul-pgia.js"):
        with browser.served(folder, withheld=[missing]) as url:
            driver.get(url)
            _check_failure_line(driver, f"{missing} missing")
            # What the engine and the module log of the missing file is this
            # scenario's own doing, not the page's fault.
            driver.console()


def _load_under_worker(driver, url):
    """Loads the page until its service worker serves it: from the first load
    after the worker is installed."""
    PagePlayer(driver, url)
    driver.set_script_timeout(30)
    driver.execute_async_script("navigator.serviceWorker.ready.then(() => arguments[0]())")
    PagePlayer(driver, url)
    assert driver.execute_script("return navigator.serviceWorker.controller !== null"), \
        "a load after the service worker is ready is not served by it"


WEB = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "web")
# The page under a sub-path of its origin, as most hosts give it.
SUB_PATH = "/games/bul-pgia/"


def _generators():
    """web/generate/'s precache.py and compress.py, which a test runs on a
    folder it changes, as the build does after every change."""
    sys.path.insert(0, os.path.join(WEB, "generate"))
    import compress
    import precache
    return precache, compress


def _rebuild(folder, changes):
    """Makes `folder` another build: each (file, old, new) of `changes`
    replaced in it, then the worker's list and the compressed copies remade.
    The worker stays the built one, whose install is under test: its list
    is taken out and written anew."""
    precache, compress = _generators()
    for name, old, new in changes:
        with open(os.path.join(folder, name), "r+", encoding="utf-8") as file:
            text = file.read()
            assert old in text, f"no {old!r} in {name}"
            file.seek(0)
            file.write(text.replace(old, new))
    worker = os.path.join(folder, "service-worker.js")
    with open(worker, encoding="utf-8") as file:
        template, listed = re.subn(r"^const PRECACHE = \{\n.*?\n\};$",
                                   f"const PRECACHE = {precache.PLACEHOLDER};", file.read(),
                                   flags=re.DOTALL | re.MULTILINE)
    assert listed == 1, f"no list of files in {worker}"
    with tempfile.TemporaryDirectory() as scratch:
        with open(os.path.join(scratch, "service-worker.js"), "w", encoding="utf-8") as file:
            file.write(template)
        precache.main(folder, file.name)
    compress.main(folder)


def _another_version(folder):
    """Makes `folder` another build of the same worker: the same files under
    another version, which names the worker's cache."""
    path = os.path.join(folder, "service-worker.js")
    with open(path, encoding="utf-8") as file:
        worker = file.read()
    versions = re.findall(r'"version": "([0-9a-f]+)"', worker)
    assert len(versions) == 1, f"no one version in {path}: {versions}"
    with open(path, "w", encoding="utf-8") as file:
        file.write(worker.replace(versions[0], versions[0][::-1]))
    _generators()[1].main(folder)


def _nginx(copies, folder, redirect_index=False):
    """nginx serving `copies` with the nginx file built beside `folder`."""
    return browser.nginx_served(copies, os.path.join(folder, browser.NGINX_CONF), redirect_index)


# The hosts the page must install on and play offline from, all as nginx
# serves the built folder: (scenario, sub-paths of the copies, index.html
# redirected to its folder's address). Two copies are two builds.
OFFLINE_HOSTS = (
    ("installs_and_plays_offline", (SUB_PATH,), False),
    # A bug: each copy's worker deleted every other copy's files.
    ("two_copies_play_offline", ("/a/", "/b/"), False),
    # A bug: the worker kept index.html's redirected answer, which the browser
    # refuses for a page, and the page failed even online.
    ("redirecting_host_plays_offline", (SUB_PATH,), True),
)


def _installs_and_plays_offline(driver, folder, paths, redirect_index):
    """Chromium finds the page installable and, once the page's service worker
    controls each copy, plays a whole game in each with the server gone."""
    with tempfile.TemporaryDirectory() as other:
        copies = {}
        for number, path in enumerate(paths):
            copies[path] = folder
            if number:
                copies[path] = os.path.join(other, str(number))
                shutil.copytree(folder, copies[path])
                _another_version(copies[path])
        with _nginx(copies, folder, redirect_index) as origin:
            for path in paths:
                _load_under_worker(driver, origin + path)
                if driver.engine == "chromium":  # the one engine that says whether it would
                    errors = driver.execute_cdp_cmd("Page.getInstallabilityErrors",
                                                    {})["installabilityErrors"]
                    assert errors == [], f"chromium would not install {path}: {errors}"
    try:
        urllib.request.urlopen(origin, timeout=5)
        raise AssertionError("the server still answers")
    except urllib.error.URLError:
        pass
    for path in paths:
        # Started from a home screen or a link, the address may carry a query.
        # The game's boxes are dismissed with a click, which every engine's driver has.
        desktop.erase_then_win(PagePlayer(driver, origin + path + "?source=home#board"))
        # The start page by its name, with a query, loads as well.
        PagePlayer(driver, origin + path + "index.html?source=home")


def _offline_scenario(name, paths, redirect_index):
    def scenario(driver, folder):
        _installs_and_plays_offline(driver, folder, paths, redirect_index)
    scenario.__name__ = name
    return serves_itself(scenario)


# What nginx sends beside a file, for a browser that takes gzip: (file,
# header, value). The policy is the one the page declares in its <meta>,
# with what only a header can say.
SERVED_HEADERS = (
    ("", "Content-Security-Policy", "the page's own; frame-ancestors 'none'"),
    ("", "X-Content-Type-Options", "nosniff"),
    ("", "Referrer-Policy", "no-referrer"),
    ("", "Cache-Control", "no-cache"),
    ("service-worker.js", "Cache-Control", "no-cache"),
    ("page.js", "Cache-Control", "max-age=3600"),
    ("bul-pgia.wasm", "Content-Type", "application/wasm"),
    ("bul-pgia.js", "Content-Type", "text/javascript; charset=utf-8"),
    ("bul-pgia.js", "X-Content-Type-Options", "nosniff"),
    ("manifest.webmanifest", "Content-Type", "application/manifest+json"),
    ("DavidCLM-Medium.woff2", "Content-Type", "font/woff2"),
    ("service-worker.js", "Content-Security-Policy", "the page's own; frame-ancestors 'none'"),
    ("index.html", "Content-Security-Policy", "the page's own; frame-ancestors 'none'"),
    ("missing.js", "X-Content-Type-Options", "nosniff"),
    ("missing.js", "Cache-Control", None),
)
# Sent compressed, and never anything else (which compression would only grow).
COMPRESSED = (".html", ".js", ".css", ".wasm", ".webmanifest", ".txt", ".ico", ".jpg")


@serves_itself
def served_with_its_headers(driver, folder):
    """nginx, with the page's nginx file and under a sub-path, sends the
    page's security policy as a header with the start page and the worker,
    forbids sniffing and referrers,
    gives every file its type, asks again for the start page and the worker
    only, and sends every text and WebAssembly file of the folder compressed."""
    with _nginx({SUB_PATH: folder}, folder) as origin:
        url = origin + SUB_PATH
        driver.get(url)
        policy = driver.find_element(
            By.CSS_SELECTOR, "meta[http-equiv=Content-Security-Policy]").get_attribute("content")
        assert "object-src 'none'" in policy, f"the page declares the policy {policy!r}"
        for name, header, value in SERVED_HEADERS:
            expected = value and value.replace("the page's own", policy)
            request = urllib.request.Request(url + name, headers={"Accept-Encoding": "gzip"})
            try:
                with urllib.request.urlopen(request, timeout=5) as response:
                    sent = response.headers.get(header)
            except urllib.error.HTTPError as error:
                sent = error.headers.get(header)
            assert sent == expected, f"/{name} comes with {header}: {sent!r}, expected {expected!r}"
        for name in sorted(os.listdir(folder)):
            request = urllib.request.Request(url + name, headers={"Accept-Encoding": "gzip"})
            with urllib.request.urlopen(request, timeout=5) as response:
                encoding = response.headers.get("Content-Encoding")
            expected = "gzip" if name.endswith(COMPRESSED) else None
            assert encoding == expected, f"/{name} comes with Content-Encoding {encoding!r}"


# Which build served the page: its index.html and, through the service worker
# as every file, its style sheet, each with or without the next build's mark.
_BUILD_SEEN = """
const done = arguments[arguments.length - 1];
const mark = arguments[0];
fetch("page.css").then((response) => response.text()).then((css) => done(
    [document.documentElement.innerHTML.includes(mark), css.includes(mark)]));
"""

# Asks the server for a new worker from the open page, and says what became
# of it: "installed" (it waits for the old build's pages to go) or
# "redundant" (its install failed).
_NEXT_WORKER = """
const done = arguments[arguments.length - 1];
navigator.serviceWorker.getRegistration().then(async (registration) => {
    const found = new Promise((resolve) => registration.addEventListener(
        "updatefound", () => resolve(registration.installing), { once: true }));
    await registration.update();
    const worker = await found;
    const settled = () => ["installed", "activated", "redundant"].includes(worker.state);
    if (!settled()) {
        await new Promise((resolve) => worker.addEventListener("statechange", () => {
            if (settled()) resolve();
        }));
    }
    done(worker.state);
});
"""

# What a host may do to a new build while a player has the old one, and what
# the page's worker must then make of it: (fault, change to the served folder
# after the build, the new worker's state).
NEXT_BUILDS = (
    ("a whole build", None, "installed"),
    ("a file whose bytes are not the listed ones",
     lambda folder: _rebuild_one_file(folder, "page.js", "\n// not the listed bytes\n"),
     "redundant"),
    ("a file the server answers with an error",
     lambda folder: _rebuild_one_file(folder, "fit.js", None), "redundant"),
)


def _rebuild_one_file(folder, name, tail):
    """`name` changed (`tail` added) or gone (None) after the worker's list
    was made, its compressed copy as well."""
    if tail is None:
        os.remove(os.path.join(folder, name))
    else:
        with open(os.path.join(folder, name), "a", encoding="utf-8") as file:
            file.write(tail)
    _generators()[1].main(folder)


@serves_itself
def next_build_replaces_the_old_whole(driver, folder):
    """A new build put on the server while the page is open is installed
    beside the old one: the open page and its reloads keep the old build's
    every file, and once no page of it is left, a load gets the new one's.
    A build with one file wrong is never installed: the old one stays, whole."""
    for fault, spoil, state in NEXT_BUILDS:
        with tempfile.TemporaryDirectory() as served:
            shutil.copytree(folder, served, dirs_exist_ok=True)
            _replace_build(driver, folder, served, fault, spoil, state)


def _replace_build(driver, folder, served, fault, spoil, state):
    mark = "next build"
    with _nginx({SUB_PATH: served}, folder) as origin:
        url = origin + SUB_PATH
        _load_under_worker(driver, url)
        _rebuild(served, [("index.html", "</body>", f"<!-- {mark} --></body>"),
                          ("page.css", "html, body", f"/* {mark} */ html, body")])
        if spoil:
            spoil(served)
        made = driver.execute_async_script(_NEXT_WORKER)
        assert made == state, f"{fault}: the next build's worker is {made}, expected {state}"
        if state == "redundant":
            # Read before any load, which tries the install again.
            # Firefox may call the worker redundant before its own clean-up
            # has deleted the cache: the promise is that the cache goes.
            def caches():
                return driver.execute_async_script(
                    "caches.keys().then(arguments[arguments.length - 1])")
            wait_until(lambda: len(caches()) == 1, 10.0,
                       f"{fault}: the failed install's cache to go")
        PagePlayer(driver, url)
        assert driver.execute_async_script(_BUILD_SEEN, mark) == [False, False], \
            f"{fault}: a reload while the old build's page was open did not keep the old build"

        def build_loaded(new):
            driver.get("about:blank")
            time.sleep(0.2)
            PagePlayer(driver, url)
            seen = driver.execute_async_script(_BUILD_SEEN, mark)
            assert seen[0] == seen[1], \
                f"{fault}: a page of two builds (index.html, page.css new): {seen}"
            return seen == [new, new]
        if state == "installed":
            wait_until(lambda: build_loaded(True), 30.0, "a load of the next build")
        else:
            assert build_loaded(False), f"{fault}: the old build is gone"


def _unfit(player):
    """How the board fails to fit the viewport whole, or None."""
    seen = player.driver.execute_script(_BOARD_ON_SCREEN)
    left, top, right, bottom = seen["board"]
    if not (left >= 0 and top >= 0 and right <= seen["viewport"][0]
            and bottom <= seen["viewport"][1]):
        return f"the board {seen['board']} is cut off"
    if seen["scrolls"] != [0, 0]:
        return f"the page scrolls by {seen['scrolls']}"
    return None


def fits_any_screen(player):
    """On a phone and on a large screen the whole board is in view, as big as
    fits; on a phone a double tap on the credit label opens the codes panel.
    An engine that cannot emulate a touch screen gets the phones' sizes alone,
    and one whose window cannot be made as small says so and skips that screen.
    The window made smaller with the page open, the board fits it again
    without a reload."""
    url = player.driver.current_url
    for width, height, touch, least_scale in SCREENS:
        screen = f"{width} x {height}"
        try:
            player.driver.size_viewport(width, height, touch)
        except browser.CannotInThisEngine as reason:
            print(f"{player.driver.engine}: {screen} without touch: {reason}")
            touch = False
            try:
                player.driver.size_viewport(width, height)
            except browser.CannotInThisEngine as reason:
                print(f"{player.driver.engine}: {screen} not checked: {reason}")
                continue
        player = PagePlayer(player.driver, url)
        unfit = _unfit(player)
        assert not unfit, f"{screen}: {unfit}"
        if least_scale:
            assert board_scale(player) >= least_scale, \
                f"{screen}: the board is drawn at {board_scale(player):.2f} times its size"
        if touch:
            player.double_tap("Label6")
            wait_until(lambda: "Frame1" in player.board(), 5.0,
                       f"{screen}: the codes panel to open on a double tap")
    # From the large screen to one every engine's window can be: the board
    # drawn as big as the large one allowed is cut off until it is fitted again.
    player.driver.size_viewport(*browser.WINDOW_SIZE)
    wait_until(lambda: not _unfit(player), 5.0,
               "the board to fit %d x %d without a reload" % browser.WINDOW_SIZE)


# The windows and pixel densities the board's lines are measured at: CSS
# pixels, and device pixels per CSS pixel.
EVEN_SIZES = ((800, 700), (1366, 768), (1600, 1200), (360, 640))
EVEN_DENSITIES = (1, 1.25, 2, 3)
# Where the grid is measured, in the board's own pixels: the column between
# the bulls and Line5, which crosses every horizontal line and nothing drawn
# but the strip, and the row between the first two rows of cells, which
# crosses every vertical line. Four lines lie under the sunken border of
# Label5 and show only where it leaves them.
_ACROSS_ROWS_X = 76
_ACROSS_COLUMNS_Y = 100
# The board's coloured columns: a cell of each and its fill.
_COLUMNS = (("bol", "#ffc080"), ("pgia", "#ff80ff"), ("lbltry", "#80ff80"))

# The viewport's CSS width, the board's rectangle and each control's as
# drawn, in CSS pixels.
_DRAWN_RECTS = DRAWN + """
const board = drawn(document.getElementById("Form1"));
const rects = {};
for (const element of document.querySelectorAll("#Form1 [id]")) {
    const r = drawn(element);
    rects[element.id] = [r.left, r.top, r.width, r.height];
}
return [innerWidth, [board.left, board.top, board.width, board.height], rects];
"""


# Returns once two frames have been drawn since the call.
_NEXT_FRAME = """
const done = arguments[arguments.length - 1];
requestAnimationFrame(() => requestAnimationFrame(() => done()));
"""


def _runs(pixels, wanted):
    """The lengths of the runs of consecutive pixels for which `wanted` holds."""
    runs, length = [], 0
    for pixel in [*pixels, None]:
        if pixel is not None and wanted(pixel):
            length += 1
        elif length:
            runs.append(length)
            length = 0
    return runs


def _grid_widths(driver):
    """From a screenshot, in device pixels: the widths of the black lines
    that show, down the board and across it, and {column: the (widths,
    heights) of its cells' fill}."""
    # What the page last changed drawn: WebKit may still show the frame before.
    driver.execute_async_script(_NEXT_FRAME)
    shot = Image.open(io.BytesIO(driver.get_screenshot_as_png())).convert("RGB")
    css_width, origin, rects = driver.execute_script(_DRAWN_RECTS)
    device = shot.width / css_width
    unit = rects["Label5"][2] / desktop.layout.rect("Label5")[2]

    def span(start, length):
        """Device pixels from `start` for `length`, both in CSS pixels."""
        return range(round(start * device), round((start + length) * device))

    def black(pixel):
        return max(pixel) < 64
    left, top, width, height = rects["Label5"]
    x = round((origin[0] + _ACROSS_ROWS_X * unit) * device)
    y = round((origin[1] + _ACROSS_COLUMNS_Y * unit) * device)
    lines = (_runs([shot.getpixel((x, v)) for v in span(top, height)], black) +
             _runs([shot.getpixel((u, y)) for u in span(left, width)], black))
    cells = {}
    for column, fill in _COLUMNS:
        colour = tuple(int(fill[i:i + 2], 16) for i in (1, 3, 5))
        sizes = set()
        for row in desktop.layout.ROWS:
            left, top, width, height = rects[f"{column}{row}"]
            # Beside the right edge, where no digit reaches, and under the top.
            u = round((left + width - 4 * unit) * device)
            v = round((top + 3 * unit) * device)
            heights = _runs([shot.getpixel((u, y)) for y in span(top - unit, height + 2 * unit)],
                            lambda pixel: pixel == colour)
            widths = _runs([shot.getpixel((x, v)) for x in span(left - unit, width + 2 * unit)],
                           lambda pixel: pixel == colour)
            sizes.add((tuple(widths), tuple(heights)))
        cells[column] = sizes
    return lines, cells


def _check_grid_at(driver, url, density):
    """The grid measured at every size of EVEN_SIZES; one line for each."""
    measured = []
    for width, height in EVEN_SIZES:
        screen = f"{width} x {height} at {density}"
        try:
            driver.size_viewport(width, height)
        except browser.CannotInThisEngine as reason:
            print(f"{driver.engine}: {screen} not checked: {reason}")
            continue
        PagePlayer(driver, url)
        lines, cells = _grid_widths(driver)
        assert len(lines) >= 11, f"{screen}: only {len(lines)} lines show: {lines}"
        assert len(set(lines)) == 1, f"{screen}: lines of widths {lines} device pixels"
        uneven = {column: sizes for column, sizes in cells.items() if len(sizes) != 1}
        assert not uneven, f"{screen}: cells of one column in more than one size: {uneven}"
        measured.append(f"{screen}: lines {lines[0]}, cells (widths, heights) " + ", ".join(
            f"{column} {next(iter(sizes))}" for column, sizes in cells.items()))
    return measured


@serves_itself
def even_lines_at_any_size(driver, folder):
    """At every window size and pixel density, the board's grid lines are all
    of one width in device pixels, and the cells of a column all of one size,
    as the window draws them: measured on a screenshot. A density is the
    browser's own, as a screen's (chromium's emulated one is drawn at one
    pixel per CSS pixel and scaled afterwards, as no screen is); an engine
    that cannot take a density or make its window as small leaves those out."""
    measured = []
    with browser.served(folder) as url:
        for density in EVEN_DENSITIES:
            if density == 1:
                measured += _check_grid_at(driver, url, density)
                continue
            try:
                with browser.engine(driver.engine, url, density) as other:
                    measured += _check_grid_at(other, url, density)
            except browser.CannotInThisEngine as reason:
                print(f"{driver.engine}: density {density} not checked: {reason}")
    print("\n".join(measured))


# The open message box's size as drawn, in CSS pixels of the viewport, and
# its OK's caption colours.
_BOX_DRAWN = DRAWN + """
const r = drawn(document.getElementById("messageBox"));
const ok = getComputedStyle(document.getElementById("messageBoxOk"));
return [r.width, r.height, ok.color, ok.webkitTextFillColor || ok.color];
"""
# A button's face and caption colours as the style computes them.
_BUTTON_COLOURS = """
const style = getComputedStyle(document.getElementById(arguments[0]));
return [style.backgroundColor, style.color];
"""
# A window the board is drawn at its own size in (its height), one that
# MiniBrowser can be, and a large one.
_OWN_SIZE = (480, 526)
_LARGE = (1600, 1200)


def _rgb(colour):
    """(r, g, b, alpha) of a computed colour, "rgb(...)" or "rgba(...)"."""
    values = [float(v) for v in re.findall(r"[\d.]+", colour)]
    return (*values[:3], values[3] if len(values) > 3 else 1.0)


def _refusal_box(player):
    """The box of a refused guess, opened, as the page draws it."""
    player.type_into_guess_box("12")
    player.click("Command1")
    player.wait_for_message_box()
    return player.driver.execute_script(_BOX_DRAWN)


def drawn_as_the_window(player):
    """The message box lies over the board as over the window: scaled with
    the board, its OK's caption black in every engine. A disabled "בדוק"
    keeps the system's button face, opaque, and a grey caption."""
    driver = player.driver
    url = driver.current_url
    sizes = {}
    for viewport in (_OWN_SIZE, _LARGE):
        driver.size_viewport(*viewport)
        player = PagePlayer(driver, url)
        width, height, ok, ok_fill = _refusal_box(player)
        sizes[viewport] = (width, height, board_scale(player))
        assert _rgb(ok) == _rgb(ok_fill) == (0, 0, 0, 1), \
            f"the box's OK is drawn in {ok} (its text fill {ok_fill}), not black"
        player.dismiss(player.message_box())
    (small_w, small_h, _), (large_w, large_h, scale) = sizes[_OWN_SIZE], sizes[_LARGE]
    assert scale > 2, f"{_LARGE}: the board is only {scale:.2f} times its size"
    for what, small, large in (("width", small_w, large_w), ("height", small_h, large_h)):
        assert abs(large / small - scale) < 0.05 * scale, \
            f"over a board {scale:.2f} times its size, the box's {what} is {large:.0f} " \
            f"pixels, {large / small:.2f} times its {small:.0f} over the board at its own size"

    player.click("Command2")
    wait_until(lambda: not player.board()["Command1"].enabled, 5.0, "בדוק to be disabled")
    face, caption = (_rgb(c) for c in driver.execute_script(_BUTTON_COLOURS, "Command1"))
    enabled_face, _ = (_rgb(c) for c in driver.execute_script(_BUTTON_COLOURS, "Command3"))
    assert face[3] == 1 and face == enabled_face, \
        f"the disabled בדוק's face is {face}, the enabled חדש's {enabled_face}"
    assert caption[3] == 1 and caption[0] == caption[1] == caption[2] and 0 < caption[0] < 255, \
        f"the disabled בדוק's caption is {caption}, not an opaque grey"
    # Drawn so: its face beside the left edge, where the caption does not reach.
    driver.execute_async_script(_NEXT_FRAME)
    shot = Image.open(io.BytesIO(driver.get_screenshot_as_png())).convert("RGB")
    css_width, _, rects = driver.execute_script(_DRAWN_RECTS)
    left, top, _, height = rects["Command1"]
    device = shot.width / css_width
    point = (round((left + 5 * scale) * device), round((top + height / 2) * device))
    assert shot.getpixel(point) == tuple(round(v) for v in face[:3]), \
        f"the disabled בדוק shows {shot.getpixel(point)} at {point}, not its face {face}"


# The rectangles of the page's controls, relative to Form1, as drawn, and
# their texts.
_PAGE_RECTS = """
const origin = document.getElementById("Form1").getBoundingClientRect();
const rects = {};
for (const element of document.querySelectorAll("#Form1 [id]")) {
    const r = element.getBoundingClientRect();
    rects[element.id] = [[r.left - origin.left, r.top - origin.top, r.width, r.height],
                         element.textContent, !element.disabled];
}
return rects;
"""


def _misplaced(page, window):
    """{name: (page rect, window rect)} of the controls more than 1 pixel away.
    An autosized label is as wide as its text: its width counts only where both
    show the same text (the two secrets are drawn apart)."""
    off = {}
    for name, control in window.items():
        rect, text, _ = page[name]
        compared = (0, 1, 3) if control.get("sizedTo", text) != text else (0, 1, 2, 3)
        if any(abs(rect[i] - control["rect"][i]) > 1 for i in compared):
            off[name] = ([round(v, 2) for v in rect], control["rect"])
    return off


def _cell_colours(rect, fill, *images):
    """The colour each image shows at the centre of a coloured cell or, where
    a caption lies over the centre in any of them (a secret digit, the
    headings over the strip), near the cell's bottom-left corner, below the
    captions' baseline."""
    left, top, width, height = rect
    centre = (left + width // 2, top + height // 2)
    corner = (left + 3, top + height - 4)
    clear = all("#%02x%02x%02x" % image.getpixel(centre) == fill for image in images)
    point = centre if clear else corner
    return point, [image.getpixel(point) for image in images]


def _save_side_by_side(page, window, name):
    """The page (left) beside the window (right), for a person to look at;
    in artefacts/ of the working folder."""
    os.makedirs("artefacts", exist_ok=True)
    both = Image.new("RGB", (page.width + 8 + window.width, max(page.height, window.height)),
                     "white")
    both.paste(page, (0, 0))
    both.paste(window, (page.width + 8, 0))
    both.save(os.path.join("artefacts", name))


@against_the_desktop
def matches_desktop_window(player, artefacts):
    """Every control where the desktop window has it, within 1 pixel, and every
    coloured cell in its colour, the window and the page played alike: a
    guess of the secret's digits rotated, then "1234", the codes panel open,
    the secret won and "56" in the guess box; the same controls disabled,
    and the focus where the win leaves it."""
    with open(os.path.join(artefacts, "form1-played.json"), encoding="utf-8") as file:
        window = json.load(file)
    # The board at its stored size, pixel for pixel: a window just large
    # enough for it and its margin.
    player.driver.size_viewport(416, 526)
    wait_until(lambda: abs(board_scale(player) - 1) < 1e-6, 5.0, "the board at its own size")
    shot = Image.open(os.path.join(artefacts, "form1-played.png")).convert("RGB")
    secret = desktop.read_secret(player)
    guesses = [secret[1:] + secret[0]] + (["1234"] if secret != "1234" else [])
    for played in range(1, len(guesses) + 1):
        desktop.play_quietly(player, guesses[played - 1],
                             desktop.expected_rows(guesses[:played], secret))
    # The win disables the focused "בדוק"; the window's focus stays where the
    # win left it, since its player types into the box without a click.
    player.guess(secret)
    player.dismiss(player.wait_for_message_box())
    wait_until(lambda: not player.board()["Command1"].enabled, 5.0, "the win to end the game")
    focus = [name for name, control in window.items() if control["focused"]]
    assert [player.focused()] == focus, f"after the win the focus is in {player.focused()!r}, " \
                                        f"in the window in {focus}"
    player.type_into_guess_box("56")
    page = player.driver.execute_script(_PAGE_RECTS)
    disabled = {name for name, (_, _, enabled) in page.items() if not enabled}
    expected = {name for name, control in window.items() if not control["enabled"]}
    assert disabled == expected, f"disabled on the page: {disabled}, in the window: {expected}"
    assert sorted(page) == sorted(window), \
        f"controls only on the page: {sorted(page.keys() - window.keys())}, " \
        f"only in the window: {sorted(window.keys() - page.keys())}"
    off = _misplaced(page, window)
    assert not off, f"controls more than 1 pixel away (page, window): {off}"

    drawn = Image.open(io.BytesIO(player.element("Form1").screenshot_as_png)).convert("RGB")
    _save_side_by_side(drawn, shot, "page-beside-window.png")
    assert drawn.size == shot.size, f"the page's Form1 is {drawn.size}, the window {shot.size}"
    wrong = {}
    for name, control in window.items():
        if control["fill"]:
            point, (on_page, in_window) = _cell_colours(control["rect"], control["fill"],
                                                        drawn, shot)
            if on_page != in_window or "#%02x%02x%02x" % in_window != control["fill"]:
                wrong[name] = (point, on_page, in_window, control["fill"])
    assert not wrong, f"cells whose colour is not their fill (point, page, window, fill): {wrong}"
    # The game shown, בדוק is disabled: its face is the enabled חדש's, in both.
    faces = {}
    for name in ("Command1", "Command3"):
        left, top, _, height = window[name]["rect"]
        point = (left + 5, top + height // 2)
        faces[name] = (drawn.getpixel(point), shot.getpixel(point))
    assert faces["Command1"] == faces["Command3"], \
        f"the disabled בדוק's face (page, window) is {faces['Command1']}, " \
        f"the enabled חדש's {faces['Command3']}"


PAGE_ONLY = (
    start_state_in_page,
    tab_order,
    message_box_is_modal,
    bad_input,
    heard_through_a_game,
    trapped_call_shows_failure,
    guess_typed_while_loading,
    address_changes_nothing,
    orca_hears_a_guess,
    load_failure_shows_one_line,
    served_with_its_headers,
    *(_offline_scenario(*host) for host in OFFLINE_HOSTS),
    next_build_replaces_the_old_whole,
    fits_any_screen,
    even_lines_at_any_size,
    drawn_as_the_window,
    matches_desktop_window,
)

SCENARIOS = {
    **{name: desktop.SCENARIOS[name] for name in SHARED},
    **{scenario.__name__: scenario for scenario in PAGE_ONLY},
}
