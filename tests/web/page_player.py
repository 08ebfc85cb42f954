"""One game of bul-pgia played in a browser as a person plays it: the mouse
and the keyboard on the page's elements, the page read from its DOM. The same
hands and eyes as the desktop's Player (tests/e2e/player.py), so the desktop's
scenarios run here unchanged."""
import os
import time
from dataclasses import dataclass

from selenium.webdriver.common.by import By
from selenium.webdriver.common.keys import Keys

import tools
from player_base import PlayerBase
from waiting import wait_until

# Where an element is drawn, in CSS pixels of the viewport: DRAWN + "return
# drawn(element)". WebKit leaves the CSS zoom of the board and of the message
# box, which is scaled with it, out of their rectangles and of those of what
# lies in them (its WebDriver too), the other engines put it in: f is the
# zoom left out.
DRAWN = """
function drawn(element) {
    const r = element.getBoundingClientRect();
    const board = element.closest("#Form1, #messageBox");
    const f = board ? parseFloat(getComputedStyle(board).zoom) * board.offsetWidth
                      / board.getBoundingClientRect().width : 1;
    return {left: r.left * f, top: r.top * f, right: r.right * f, bottom: r.bottom * f,
            width: r.width * f, height: r.height * f};
}
"""
_CENTRE = DRAWN + """
const r = drawn(arguments[0]);
return [r.left + r.width / 2, r.top + r.height / 2];
"""


def centre(driver, element):
    """The point of the viewport at the middle of where `element` is drawn."""
    return driver.execute_script(_CENTRE, element)

_KEYS = {"Return": Keys.ENTER, "space": Keys.SPACE, "Escape": Keys.ESCAPE}

# Every control of Form1 that shows, read in one pass: what a sighted player
# sees. A hidden control (or one inside the hidden panel) is not on the page.
_READ_BOARD = """
const seen = {};
for (const element of document.querySelectorAll("#Form1 [id]")) {
    if (!element.checkVisibility()) continue;
    const text = element instanceof HTMLInputElement ? element.value
        : element.classList.contains("frame") ? element.querySelector(".title").textContent
        : element.textContent;
    seen[element.id] = [text, !element.disabled];
}
return seen;
"""

# The open message box as a screen reader meets it: its role, the name and
# the description its ARIA attributes point at, its buttons and the focus.
_READ_BOX = """
const box = document.querySelector("dialog[open]");
if (!box) return null;
const byIds = (ids) => (ids || "").split(" ").filter(Boolean)
    .map((id) => document.getElementById(id).textContent).join(" ");
return {
    role: box.getAttribute("role"),
    title: byIds(box.getAttribute("aria-labelledby")),
    text: byIds(box.getAttribute("aria-describedby")),
    buttons: [...box.querySelectorAll("button")].map((b) => b.textContent),
    focused: document.activeElement.closest("dialog") === box
        ? document.activeElement.textContent : null,
    modal: box.matches(":modal"),
};
"""


# The accessibility checker, from npm (tools.py).
# WCAG 2.0, 2.1 and 2.2 at levels A and AA, and the checker's best practices.
_AXE_TAGS = ["wcag2a", "wcag2aa", "wcag21a", "wcag21aa", "wcag22aa", "best-practice"]
_RUN_AXE = """
const done = arguments[arguments.length - 1];
axe.run(document, { runOnly: { type: "tag", values: arguments[0] } }).then(
    (result) => done(result.violations.map((v) => [v.id, v.impact,
                                                    v.nodes.map((n) => n.target.join(" "))])),
    (error) => done([["axe failed", String(error), []]]));
"""


@dataclass
class Seen:
    """One control as it is on the page."""
    text: str
    enabled: bool


@dataclass
class MessageBox:
    title: str
    text: str
    buttons: list
    role: str
    focused: str
    modal: bool


class PagePlayer(PlayerBase):
    def __init__(self, driver, url, board_timeout=15.0, load=True):
        """Loads `url`, or with `load` false takes the page already loading
        there, and waits for the board."""
        self.driver = driver
        if load:
            driver.get(url)
        wait_until(lambda: self.driver.execute_script(
            "return document.getElementById('Form1')?.dataset.game === 'loaded'"
            " && document.activeElement.id === 'Text1'"),
            board_timeout, "the game loaded, with the focus in the guess box")

    # -- hands -------------------------------------------------------------

    def element(self, name):
        return self.driver.find_element(By.ID, name)

    def _centre(self, element):
        return centre(self.driver, element)

    def click(self, name, count=1):
        """Clicks the control `name` at the middle of where it is drawn, as a
        player's pointer does: at a point of the screen."""
        self.driver.click_at(*self._centre(self.element(name)), count)
        time.sleep(0.05)

    def double_click(self, name):
        self.click(name, 2)

    def double_tap(self, name):
        """Two taps of a finger on the middle of the control `name`, as quick
        as a person's double tap (the page must be on a touch screen)."""
        x, y = self._centre(self.element(name))
        for _ in range(2):
            self.driver.tap(x, y)
            time.sleep(0.08)

    def press(self, keys):
        self.driver.press(keys)

    def to_end_of_guess_box(self):
        self.press(Keys.END)

    def type_keys(self, text):
        self.press(text)

    def paste_into_guess_box(self, text):
        """Puts `text` into the guess box at once, as a paste or an input method does."""
        self.click("Text1")
        self.press(Keys.END)
        self.driver.insert_text(text)

    # -- eyes --------------------------------------------------------------

    def board(self):
        return {name: Seen(text, enabled)
                for name, (text, enabled) in self.driver.execute_script(_READ_BOARD).items()}

    def focused(self):
        return self.driver.execute_script("return document.activeElement.id")

    def news(self):
        """What the page's live region last gave a screen reader to speak."""
        return self.driver.execute_script("return document.getElementById('news').textContent")

    def accessibility_violations(self):
        """[(rule, impact, [elements])] the accessibility checker finds on the page as it is."""
        if not self.driver.execute_script("return typeof axe === 'object'"):
            place = os.path.join(tools.modules, "axe-core", "axe.min.js")
            assert os.path.isfile(place), f"no axe-core in {tools.modules}"
            with open(place, encoding="utf-8") as file:
                self.driver.execute_script(file.read())
        self.driver.set_script_timeout(30)
        return self.driver.execute_async_script(_RUN_AXE, _AXE_TAGS)

    # -- message boxes -----------------------------------------------------

    def message_box(self):
        seen = self.driver.execute_script(_READ_BOX)
        return MessageBox(**seen) if seen else None

    def wait_for_message_box(self, timeout=5.0):
        return wait_until(self.message_box, timeout, "a message box")

    def open_message_boxes(self):
        box = self.message_box()
        return [box] if box else []

    def click_box_button(self, box):
        self.driver.click_at(*self._centre(
            self.driver.find_element(By.CSS_SELECTOR, "dialog[open] button")))

    def press_box_key(self, box, key):
        self.press(_KEYS[key])
