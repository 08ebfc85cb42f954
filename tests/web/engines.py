"""The page's three browser engines, each started with a fresh profile and
ended when its `with` ends.

An engine is a driver: Selenium's WebDriver calls that every engine answers
(get, execute_script, execute_async_script, find_element(s) by id, CSS or tag,
title, current_url), and the hands and ears below, which differ:

    click_at(x, y, count=1)     the mouse's button at a point of the viewport
    press(keys)                 keys, as Selenium's send_keys takes them
    insert_text(text)           text put in at once, as a paste does
    tap(x, y)                   a finger on a touch screen          (touch_screen)
    size_viewport(w, h, touch)  the page's viewport, as a phone's when touch
    get_screenshot_as_png()     the viewport, in device pixels
    on_new_document(source)     a script before every document's own
                                                        (scripts_before_document)
    console()                   [(level, text)] logged since the last call
    blank()                     a blank page, the browser as it started

What an engine cannot do it declares as a class attribute (in brackets above,
and `narrowest`, `fractional_density`, `accessible_names`), for a test to
skip or leave out before it asks.

chromium through chromedriver, WebKitGTK through WebKitWebDriver (both
Selenium), Firefox over its own WebDriver BiDi (firefox_driver.py)."""
import contextlib
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time

from selenium import webdriver
from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.common.actions.action_builder import ActionBuilder

HERE = os.path.dirname(os.path.abspath(__file__))

sys.path[:0] = [HERE, os.path.join(HERE, "..", "e2e"), os.path.join(HERE, "..")]
from private_desktop import end_group, start_xvfb  # noqa: E402

ENGINES = ("chromium", "firefox", "webkit")
CHROMIUM = "/usr/bin/chromium"
CHROMEDRIVER = "/usr/bin/chromedriver"
FIREFOX = "/usr/bin/firefox-esr"
WEBKIT_DRIVER = "/usr/bin/WebKitWebDriver"
MINIBROWSER = "/usr/lib/%s/webkit2gtk-4.1/MiniBrowser" % sys.implementation._multiarch
WINDOW_SIZE = (800, 700)

# Installed in every document before any of its own scripts runs: each breach
# of the page's security policy is kept, to be read with policy_violations().
_WATCH_POLICY = """
window.policyViolations = [];
document.addEventListener("securitypolicyviolation", (event) => {
    window.policyViolations.push(
        `${event.effectiveDirective} blocked ${event.blockedURI || "inline"}` +
        ` at ${event.sourceFile}:${event.lineNumber}`);
});
"""


class _SeleniumHands:
    """The hands of the engines that Selenium drives: WebDriver's actions."""

    def click_at(self, x, y, count=1):
        actions = ActionBuilder(self)
        actions.pointer_action.move_to_location(round(x), round(y))
        for _ in range(count):
            actions.pointer_action.click()
        actions.perform()

    def press(self, keys):
        ActionChains(self).send_keys(keys).perform()

    def blank(self):
        """A blank page, for the next test."""
        self.get("about:blank")


class Chromium(_SeleniumHands, webdriver.Chrome):
    engine = "chromium"
    touch_screen = True
    scripts_before_document = True
    fractional_density = True
    accessible_names = True
    narrowest = 0

    def click_at(self, x, y, count=1):
        """As the system reports a click: each press carries its count.
        chromedriver counts a press as the second of a double-click only
        within 500 ms of the first, by its own clock: on a loaded machine its
        second press came later and the page saw two single clicks."""
        self.execute_cdp_cmd("Input.dispatchMouseEvent", {"type": "mouseMoved", "x": x, "y": y})
        for n in range(1, count + 1):
            for kind in ("mousePressed", "mouseReleased"):
                self.execute_cdp_cmd("Input.dispatchMouseEvent", {
                    "type": kind, "x": x, "y": y, "button": "left", "clickCount": n})

    def insert_text(self, text):
        self.execute_cdp_cmd("Input.insertText", {"text": text})

    def tap(self, x, y):
        self.execute_cdp_cmd("Input.dispatchTouchEvent", {
            "type": "touchStart", "touchPoints": [{"x": x, "y": y}]})
        self.execute_cdp_cmd("Input.dispatchTouchEvent", {"type": "touchEnd", "touchPoints": []})

    def size_viewport(self, width, height, touch=False):
        # The screen's own density (0): an emulated one is drawn at one pixel
        # per CSS pixel and scaled afterwards, which no real screen does.
        self.execute_cdp_cmd("Emulation.setDeviceMetricsOverride", {
            "width": width, "height": height, "deviceScaleFactor": 0, "mobile": touch})
        self.execute_cdp_cmd("Emulation.setTouchEmulationEnabled", {
            "enabled": touch, "maxTouchPoints": 1})

    def on_new_document(self, source):
        self.execute_cdp_cmd("Page.addScriptToEvaluateOnNewDocument", {"source": source})

    def console(self):
        return [(entry["level"].lower(), entry["message"]) for entry in self.get_log("browser")]


class WebKit(_SeleniumHands, webdriver.WebKitGTK):
    engine = "webkit"
    # WebKitWebDriver has no touch screen, and runs no script before a
    # document's own.
    touch_screen = False
    scripts_before_document = False
    # GTK scales MiniBrowser by whole numbers only.
    fractional_density = False
    # WebKitWebDriver's computed label is empty for every name that comes
    # from content: a plain <th>try</th> and <td>, as for role=columnheader,
    # cell or gridcell on a div; only an aria-label comes through. A plain
    # div's role it calls "generic", chromium "none". The page's markup is
    # not at fault: names and roles are checked in chromium.
    accessible_names = False
    # MiniBrowser's window has a least width: its viewport is never narrower
    # than this many CSS pixels.
    narrowest = 447
    # Where console() loads the page, and the display MiniBrowser goes on.
    page_url = None
    environment = None

    def insert_text(self, text):
        # What a paste does, as puppeteer does it too: the editing command of
        # the focused field, which keeps its length limit.
        self.execute_script("document.execCommand('insertText', false, arguments[0])", text)

    def size_viewport(self, width, height, touch=False):
        assert not touch and width >= self.narrowest, \
            f"MiniBrowser cannot be a {'touch screen' if touch else f'viewport {width} wide'}"
        inner = self.execute_script("return [outerWidth - innerWidth, outerHeight - innerHeight]")
        self.set_window_size(width + inner[0], height + inner[1])
        # The page sees the new size a moment after the window has it.
        deadline = time.monotonic() + 3
        while (got := self.execute_script("return [innerWidth, innerHeight]")) != [width, height]:
            assert time.monotonic() < deadline, f"MiniBrowser's viewport comes out {got[0]} x {got[1]}"
            time.sleep(0.05)

    def console(self):
        """What WebKit logs on a fresh load of the page. WebKitWebDriver keeps
        no log, and MiniBrowser writes the console out only when it is not
        automated, and at its end: a MiniBrowser of its own loads the page."""
        if not self.page_url:
            return []
        # A private window writes nothing out: a profile of its own instead.
        with tempfile.TemporaryDirectory(prefix="bul-pgia-webkit.") as profile:
            shown = subprocess.run(
                [MINIBROWSER, "--enable-write-console-messages-to-stdout=true",
                 "--exit-after-load", self.page_url],
                capture_output=True, text=True, errors="replace", timeout=60,
                env={**os.environ, **self.environment, "XDG_DATA_HOME": profile,
                     "XDG_CACHE_HOME": profile, "XDG_CONFIG_HOME": profile})
        # "[URL:LINE:COLUMN: ]CONSOLE SECURITY ERROR Unrecognized ..." and the like.
        return [(level.lower(), message) for level, message in re.findall(
            r"CONSOLE \w+ (ERROR|WARNING|LOG|INFO|DEBUG) (.*)", shown.stdout + shown.stderr)]


@contextlib.contextmanager
def _environment(variables):
    """os.environ with `variables` for the block, as it was afterwards: for a
    driver that passes its own environment on to the browser it starts."""
    saved = {name: os.environ.get(name) for name in variables}
    os.environ.update(variables)
    try:
        yield
    finally:
        for name, value in saved.items():
            if value is None:
                os.environ.pop(name, None)
            else:
                os.environ[name] = value


@contextlib.contextmanager
def started(name, density=1):
    """A browser of engine `name` with a fresh profile, `density` device
    pixels to one CSS pixel, its viewport WINDOW_SIZE, headless (or, where an
    engine has no headless way, on a private Xvfb of its own)."""
    profile = tempfile.mkdtemp(prefix=f"bul-pgia-{name}.")
    display = None
    try:
        if name == "chromium":
            driver = _start_chromium(profile, density)
        else:
            # WebKitGTK has no headless mode, and headless Firefox no window
            # with the system's focus (see FirefoxDriver): their windows go
            # on a private Xvfb, a screen large enough for the largest
            # viewport at the density.
            display, screen = start_xvfb("%dx%dx24" % (1700 * density, 1300 * density))
            if name == "webkit":
                assert density == int(density), "GTK scales MiniBrowser by whole numbers only"
                variables = {"DISPLAY": screen, "GDK_SCALE": str(int(density))}
                with _environment(variables):
                    driver = _start_webkit()
                driver.environment = variables
            else:
                import firefox_driver
                driver = firefox_driver.FirefoxDriver(FIREFOX, profile, WINDOW_SIZE, density,
                                                      {**os.environ, "DISPLAY": screen})
        # Where an engine runs no script before the document's, the policy's
        # breaches reach the console all the same.
        if driver.scripts_before_document:
            driver.on_new_document(_WATCH_POLICY)
        try:
            yield driver
        finally:
            driver.quit()
    finally:
        if display:
            display.kill()
            display.wait()
        shutil.rmtree(profile, ignore_errors=True)


def _chromium_arguments(profile, density=1):
    return ["--no-sandbox", "--disable-gpu", "--disable-background-networking",
            "--disable-component-update", "--disable-sync", "--no-first-run",
            "--no-default-browser-check", "--disable-dev-shm-usage",
            f"--force-device-scale-factor={density}", "--window-size=%d,%d" % WINDOW_SIZE,
            f"--user-data-dir={profile}"]


def _start_chromium(profile, density=1):
    options = webdriver.ChromeOptions()
    options.binary_location = CHROMIUM
    for argument in ["--headless=new", *_chromium_arguments(profile, density)]:
        options.add_argument(argument)
    # No bar saying the browser is under automated control: a player's
    # browser has none, and a screen reader would read it out.
    options.add_experimental_option("excludeSwitches", ["enable-automation"])
    # chromedriver itself listens on a free port that Service picks.
    return Chromium(service=webdriver.chrome.service.Service(CHROMEDRIVER), options=options)


@contextlib.contextmanager
def chromium_opened_at(url, extra_arguments=()):
    """chromium with a window on the caller's display, started as a link or
    a desktop entry starts it: with the page's address, so that its first
    document is the page and the keyboard is in the page from the start.
    (Started by chromedriver, its first document is a blank one whose
    address bar holds the keyboard, and a page opened from there leaves it
    there.) Yields a function that attaches WebDriver to it, through
    chromium's own debugging port, for reading the page."""
    profile = tempfile.mkdtemp(prefix="bul-pgia-chromium.")
    process = subprocess.Popen(
        [CHROMIUM, *_chromium_arguments(profile), *extra_arguments,
         "--remote-debugging-port=0", url],
        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, start_new_session=True)
    drivers = []

    def port():
        """The port chromium chose: the first line of its DevToolsActivePort."""
        try:
            with open(os.path.join(profile, "DevToolsActivePort")) as written:
                return written.readline().strip()
        except FileNotFoundError:
            return ""

    def attach():
        if drivers:
            return drivers[0]
        deadline = time.monotonic() + 30
        while not port():
            assert time.monotonic() < deadline and process.poll() is None, "chromium did not start"
            time.sleep(0.05)
        options = webdriver.ChromeOptions()
        options.debugger_address = f"127.0.0.1:{port()}"
        drivers.append(Chromium(service=webdriver.chrome.service.Service(CHROMEDRIVER),
                                options=options))
        return drivers[-1]
    try:
        yield attach
    finally:
        for driver in drivers:
            driver.quit()
        end_group(process)
        shutil.rmtree(profile, ignore_errors=True)


def _start_webkit():
    options = webdriver.WebKitGTKOptions()
    options.binary_location = MINIBROWSER
    # Automated, MiniBrowser keeps nothing: its profile is ephemeral.
    options.add_argument("--automation")
    try:  # Selenium 4.10 and later (Debian 13)
        driver = WebKit(options=options,
                        service=webdriver.webkitgtk.service.Service(WEBKIT_DRIVER))
    except TypeError:  # Selenium 4.8 (Debian 12)
        driver = WebKit(WEBKIT_DRIVER, options=options)
    driver.size_viewport(*WINDOW_SIZE)
    return driver


def policy_violations(driver):
    """What the current document's security policy blocked since it loaded."""
    return driver.execute_script("return window.policyViolations || []")
