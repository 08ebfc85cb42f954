"""Firefox as engines.py's engines are: the WebDriver calls the scenarios make,
answered over Firefox's own WebDriver BiDi by puppeteer-core in
firefox_bridge.js, a node process this driver talks to a line at a time."""
import base64
import json
import os
import subprocess

from selenium.webdriver.common.by import By
from selenium.webdriver.common.keys import Keys

import tools
from waiting import wait_until

HERE = os.path.dirname(os.path.abspath(__file__))

# Selenium's keys by the names puppeteer gives them.
_KEY_NAMES = {Keys.ENTER: "Enter", Keys.RETURN: "Enter", Keys.TAB: "Tab", Keys.SPACE: " ",
              Keys.ESCAPE: "Escape", Keys.END: "End", Keys.HOME: "Home",
              Keys.BACKSPACE: "Backspace"}

_SELECTORS = {By.ID: lambda value: f"[id={json.dumps(value)}]",
              By.CSS_SELECTOR: lambda value: value, By.TAG_NAME: lambda value: value}


class FirefoxElement:
    """An element found by a selector: the index-th of its matches, found
    again at every use, as the page's elements stay put."""

    def __init__(self, driver, selector, index=0):
        self._driver, self.selector, self.index = driver, selector, index

    def _call(self, body):
        return self._driver.execute_script(f"const element = arguments[0]; {body}", self)

    def get_attribute(self, name):
        """As Selenium's: the property where there is one (a link's whole
        address), else the attribute."""
        name = json.dumps(name)
        return self._call(f"return {name} in element && typeof element[{name}] !== 'object'"
                          f" ? element[{name}] : element.getAttribute({name})")

    def is_displayed(self):
        return self._call("return element.checkVisibility()")

    @property
    def text(self):
        return self._call("return element.innerText")


def _argument(value):
    """`value` as the script's source text; elements found again by selector."""
    if isinstance(value, FirefoxElement):
        return f"document.querySelectorAll({json.dumps(value.selector)})[{value.index}]"
    return json.dumps(value)


class FirefoxDriver:
    engine = "firefox"
    # puppeteer over BiDi cannot ask Firefox what a screen reader would hear.
    accessible_names = False
    # puppeteer's Firefox makes no double-click of a double tap.
    touch_screen = False
    scripts_before_document = True
    fractional_density = True
    narrowest = 0

    def __init__(self, firefox, profile, size, density=1, environment=None):
        """Firefox's window goes on the display of `environment`'s DISPLAY."""
        self._environment = environment or dict(os.environ)
        # puppeteer-core, from npm (tools.py).
        modules = tools.modules
        if not os.path.isdir(os.path.join(modules, "puppeteer-core")):
            raise RuntimeError(f"puppeteer-core is not installed in {modules}")
        self._bridge = subprocess.Popen(
            ["node", os.path.join(HERE, "firefox_bridge.js"), firefox, profile,
             *map(str, size), str(density)],
            stdin=subprocess.PIPE, stdout=subprocess.PIPE, text=True,
            env={**self._environment, "NODE_PATH": os.path.abspath(modules)})
        # puppeteer's own default applies to the pages it opens, not the first.
        self.size_viewport(*size)
        self._take_the_focus()

    def blank(self):
        """A blank page, its window with the system's focus again: a test
        before may have left it elsewhere (Tab past the page's last control)."""
        self.get("about:blank")
        self._take_the_focus()

    def _take_the_focus(self):
        """Firefox clicks a focused button for Enter or Space only in the
        window that has the system's focus (its focus manager's element), and
        WebDriver BiDi gives none: browsingContext.activate leaves
        document.hasFocus() false, and its keys reach the button without a
        click. A click of the X server's pointer on the first, blank page
        gives the window the focus, as a player's first click does."""
        subprocess.run(["xdotool", "mousemove", "400", "400", "click", "1"], check=True,
                       env=self._environment)
        wait_until(lambda: self.execute_script("return document.hasFocus()"), 10.0,
                   "Firefox's window to have the system's focus")

    def _ask(self, request, *args):
        self._bridge.stdin.write(json.dumps({"request": request, "args": args}) + "\n")
        self._bridge.stdin.flush()
        line = self._bridge.stdout.readline()
        if not line:
            raise RuntimeError(f"Firefox's bridge ended (status {self._bridge.wait()})")
        error, value = json.loads(line)
        if error is not None:
            raise RuntimeError(f"Firefox: {request}: {error}")
        return value

    # -- WebDriver's calls -------------------------------------------------

    def get(self, url):
        self._ask("get", url)

    def execute_script(self, script, *args):
        arguments = ", ".join(map(_argument, args))
        return self._ask("run", f"(function () {{ {script} }})({arguments})")

    def execute_async_script(self, script, *args):
        arguments = "".join(f"{_argument(a)}, " for a in args)
        return self._ask("run", f"new Promise((done) => (function () {{ {script} }})"
                                f"({arguments}done))")

    def set_script_timeout(self, seconds):
        pass  # a script runs until it calls back or the test's own timeout ends it

    def find_elements(self, by, value):
        selector = _SELECTORS[by](value)
        count = self.execute_script(f"return document.querySelectorAll({json.dumps(selector)})"
                                    ".length")
        return [FirefoxElement(self, selector, i) for i in range(count)]

    def find_element(self, by, value):
        found = self.find_elements(by, value)
        if not found:
            raise LookupError(f"no element {by} {value!r}")
        return found[0]

    @property
    def title(self):
        return self._ask("title")

    @property
    def current_url(self):
        return self._ask("url")

    def quit(self):
        self._bridge.stdin.close()
        try:
            self._bridge.wait(timeout=20)
        except subprocess.TimeoutExpired:
            self._bridge.kill()
            self._bridge.wait()

    # -- the hands and ears of engines.py ------------------------------------

    def click_at(self, x, y, count=1):
        self._ask("click", x, y, count)

    def press(self, keys):
        self._ask("press", [_KEY_NAMES.get(key, key) for key in keys])

    def insert_text(self, text):
        # What a paste does, as puppeteer's sendCharacter does it.
        self.execute_script("document.execCommand('insertText', false, arguments[0])", text)

    def tap(self, x, y):
        self._ask("tap", x, y)

    def size_viewport(self, width, height, touch=False):
        assert not touch, "puppeteer's Firefox makes no double-click of a double tap"
        self._ask("viewport", width, height, False)

    def on_new_document(self, source):
        self._ask("onNewDocument", source)

    def console(self):
        return [tuple(entry) for entry in self._ask("console")]

    def get_screenshot_as_png(self):
        return self.screenshot()

    def screenshot(self, clip=None):
        """The viewport, or `clip` ({x, y, width, height}) of it, as PNG."""
        return base64.b64decode(self._ask("screenshot", clip))

    def version(self):
        return self._ask("version")
