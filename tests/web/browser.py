"""The page in one of three browser engines, served from a folder by a private
HTTP server, the page's own (web/serve/serve.py), so that the browser sees its
headers, or by Debian's nginx with the page's nginx file, as a real host
serves it. Every port is chosen free at run time and every browser gets a
fresh profile; all of it goes when the `with` ends.

An engine is a driver: Selenium's WebDriver calls that every engine answers
(get, execute_script, execute_async_script, find_element(s) by id, CSS or tag,
title, current_url), and the hands and ears below, which differ:

    click_at(x, y, count=1)     the mouse's button at a point of the viewport
    press(keys)                 keys, as Selenium's send_keys takes them
    insert_text(text)           text put in at once, as a paste does
    tap(x, y)                   a finger on a touch screen      (CannotInThisEngine)
    size_viewport(w, h, touch)  the page's viewport, as a phone's when touch
    get_screenshot_as_png()     the viewport, in device pixels
    on_new_document(source)     a script before every document's own (CannotInThisEngine)
    console()                   [(level, text)] logged since the last call

chromium through chromedriver, WebKitGTK through WebKitWebDriver (both
Selenium), Firefox over its own WebDriver BiDi (firefox_driver.py)."""
import contextlib
import http.server
import os
import re
import shutil
import socket
import subprocess
import sys
import tempfile
import threading
import time

from selenium import webdriver
from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.common.actions.action_builder import ActionBuilder

HERE = os.path.dirname(os.path.abspath(__file__))

sys.path[:0] = [os.path.join(HERE, "..", "..", "web", "serve"), os.path.join(HERE, "..", "e2e")]
import serve  # noqa: E402  (web/serve/: the page's server)
from private_desktop import end_group, start_xvfb  # noqa: E402

ENGINES = ("chromium", "firefox", "webkit")
CHROMIUM = "/usr/bin/chromium"
CHROMEDRIVER = "/usr/bin/chromedriver"
FIREFOX = "/usr/bin/firefox-esr"
WEBKIT_DRIVER = "/usr/bin/WebKitWebDriver"
MINIBROWSER = "/usr/lib/%s/webkit2gtk-4.1/MiniBrowser" % sys.implementation._multiarch
WINDOW_SIZE = (800, 700)


class CannotInThisEngine(Exception):
    """What a scenario asked of the engine has no way in it; the test is skipped."""

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


class _Handler(serve.PageHandler):
    withheld = frozenset()
    held = {}

    def do_GET(self):
        name = self.path.lstrip("/")
        if name in self.withheld:
            self.send_error(404)
            return
        if name in self.held:
            self.held[name].wait()
        super().do_GET()


@contextlib.contextmanager
def served(folder, withheld=(), held=None):
    """The URL of `folder` served over HTTP on a free local port; the files
    named in `withheld` are answered with 404, as if they were missing, and
    each file named in `held`, {name: threading.Event}, only once its event
    is set (at the latest when the `with` ends), as over a slow network."""
    held = dict(held or {})
    handler = serve.handler(folder, type("Handler", (_Handler,), {
        "withheld": frozenset(withheld), "held": held}), quiet=True)
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler)
    thread = threading.Thread(target=server.serve_forever, daemon=True)
    thread.start()
    try:
        yield f"http://127.0.0.1:{server.server_address[1]}/"
    finally:
        for release in held.values():
            release.set()
        server.shutdown()
        server.server_close()
        thread.join()


NGINX = "/usr/sbin/nginx"
# Where the page's build writes its nginx file, beside the page's folder.
NGINX_CONF = os.path.join("..", "nginx", "bul-pgia.conf")
_NGINX_START_S = 15.0

# A server of its own, in the foreground as the caller's one process (no
# master: nothing changes user), everything it writes under its prefix.
_NGINX_MAIN = """
error_log {prefix}/error.log;
pid {prefix}/nginx.pid;
events {{ worker_connections 64; }}
http {{
    # What each answer cost on the wire, headers and all.
    log_format sent '$request_uri $status $bytes_sent $body_bytes_sent';
    access_log {log} sent;
    client_body_temp_path {prefix}/body;
    proxy_temp_path {prefix}/proxy;
    fastcgi_temp_path {prefix}/fastcgi;
    uwsgi_temp_path {prefix}/uwsgi;
    scgi_temp_path {prefix}/scgi;
    absolute_redirect off;
    server {{
        listen 127.0.0.1:{port};
        {redirect}
{locations}
    }}
}}
"""
_NGINX_LOCATION = """
        location {path} {{
            alias {folder}/;
            include {conf};
        }}"""
# The "pretty addresses" of many static hosts: index.html, asked for by its
# name, is sent on to its folder's address (which still serves it).
_NGINX_REDIRECT_INDEX = r'if ($request_uri ~ "^(.*/)index\.html(\?.*)?$") { return 301 $1; }'


class HostDidNotStart(RuntimeError):
    """A server the test starts could not start; its message is one line."""


def free_port():
    """A port of 127.0.0.1 that nothing listened on just now."""
    with socket.socket() as probe:
        probe.bind(("127.0.0.1", 0))
        return probe.getsockname()[1]


@contextlib.contextmanager
def nginx_served(copies, conf, redirect_index=False, port=None, log=None):
    """The origin ("http://127.0.0.1:PORT") of Debian's nginx serving each
    folder of `copies` ({"/games/bul-pgia/": folder}) at its sub-path, with
    the page's nginx file `conf`, on a free local port (or `port`). With
    `redirect_index`, each folder's index.html asked for by name is redirected
    to the folder's own address. Each answer's address, status and bytes
    sent go to `log` when given. An nginx that cannot start raises, with
    its first complaint, within seconds."""
    prefix = tempfile.mkdtemp(prefix="bul-pgia-nginx.")
    port = port or free_port()
    locations = "".join(
        _NGINX_LOCATION.format(path=path, folder=os.path.abspath(folder),
                               conf=os.path.abspath(conf))
        for path, folder in copies.items())
    with open(os.path.join(prefix, "nginx.conf"), "w", encoding="utf-8") as file:
        file.write(_NGINX_MAIN.format(prefix=prefix, port=port, locations=locations,
                                      log=log or os.path.join(prefix, "access.log"),
                                      redirect=_NGINX_REDIRECT_INDEX if redirect_index else ""))
    # -e: what it says before reading its file goes there too, not to /var/log.
    server = subprocess.Popen(
        [NGINX, "-p", prefix, "-c", os.path.join(prefix, "nginx.conf"),
         "-e", os.path.join(prefix, "error.log"), "-g", "daemon off; master_process off;"],
        stdout=subprocess.DEVNULL, stderr=subprocess.STDOUT, start_new_session=True)
    try:
        # nginx writes its pid only once it holds its port: a port that
        # answers may be another server's.
        pid = os.path.join(prefix, "nginx.pid")
        deadline = time.monotonic() + _NGINX_START_S
        while True:
            with contextlib.suppress(OSError):
                with open(pid, encoding="ascii") as file:
                    if file.read().strip() == str(server.pid):
                        break
            if server.poll() is not None or time.monotonic() > deadline:
                with open(os.path.join(prefix, "error.log"), encoding="utf-8",
                          errors="replace") as complaints:
                    said = [line.strip() for line in complaints if "[emerg]" in line]
                # Its first complaint is the cause ("bind() ... (98: Address
                # already in use)"), without the time and process it names.
                cause = said[0].split(": ", 1)[-1] if said else "it said nothing"
                raise HostDidNotStart(f"nginx did not start on 127.0.0.1:{port}: {cause}")
            time.sleep(0.1)
        yield f"http://127.0.0.1:{port}"
    finally:
        end_group(server)
        shutil.rmtree(prefix, ignore_errors=True)


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


class Chromium(_SeleniumHands, webdriver.Chrome):
    engine = "chromium"

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
    # WebKitWebDriver's computed label is empty for every name that comes
    # from content: a plain <th>try</th> and <td>, as for role=columnheader,
    # cell or gridcell on a div; only an aria-label comes through. A plain
    # div's role it calls "generic", chromium "none". The page's markup is
    # not at fault: names and roles are checked in chromium.
    accessible_names = False
    # Where console() loads the page: run_page.py's server.
    page_url = None

    def insert_text(self, text):
        # What a paste does, as puppeteer does it too: the editing command of
        # the focused field, which keeps its length limit.
        self.execute_script("document.execCommand('insertText', false, arguments[0])", text)

    def tap(self, x, y):
        raise CannotInThisEngine("WebKitWebDriver has no touch screen")

    def size_viewport(self, width, height, touch=False):
        if touch:
            raise CannotInThisEngine("WebKitWebDriver cannot emulate a touch screen")
        inner = self.execute_script("return [outerWidth - innerWidth, outerHeight - innerHeight]")
        self.set_window_size(width + inner[0], height + inner[1])
        # The page sees the new size a moment after the window has it; and
        # MiniBrowser's window has a least width (447 pixels of viewport here),
        # so a size below it never comes.
        deadline = time.monotonic() + 3
        while (got := self.execute_script("return [innerWidth, innerHeight]")) != [width, height]:
            if time.monotonic() > deadline:
                raise CannotInThisEngine(f"MiniBrowser's viewport comes out {got[0]} x {got[1]}")
            time.sleep(0.05)

    def on_new_document(self, source):
        raise CannotInThisEngine("WebKitWebDriver runs no script before a document's own")

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
                env={**os.environ, "XDG_DATA_HOME": profile, "XDG_CACHE_HOME": profile,
                     "XDG_CONFIG_HOME": profile})
        # "[URL:LINE:COLUMN: ]CONSOLE SECURITY ERROR Unrecognized ..." and the like.
        return [(level.lower(), message) for level, message in re.findall(
            r"CONSOLE \w+ (ERROR|WARNING|LOG|INFO|DEBUG) (.*)", shown.stdout + shown.stderr)]


@contextlib.contextmanager
def engine(name, page_url=None, density=1):
    """A browser of engine `name` with a fresh profile, `density` device
    pixels to one CSS pixel, its viewport WINDOW_SIZE, headless (or, where an
    engine has no headless way, on a private Xvfb). `page_url` is the page's
    start, for WebKit's console(). WebKitGTK takes a whole density only
    (GTK's scale)."""
    if name == "webkit" and density != int(density):
        raise CannotInThisEngine("GTK scales MiniBrowser by whole numbers only")
    profile = tempfile.mkdtemp(prefix=f"bul-pgia-{name}.")
    display = None
    try:
        if name == "chromium":
            driver = _start_chromium(profile, density)
        else:
            # WebKitGTK has no headless mode, and headless Firefox no window
            # with the system's focus (see FirefoxDriver): their windows go
            # on a private Xvfb.
            # A screen large enough for the largest viewport at the density.
            display, os.environ["DISPLAY"] = start_xvfb(
                "%dx%dx24" % (1700 * density, 1300 * density))
            if name == "webkit":
                os.environ["GDK_SCALE"] = str(int(density))
                driver = _start_webkit()
                driver.page_url = page_url
            else:
                import firefox_driver
                driver = firefox_driver.FirefoxDriver(FIREFOX, profile, WINDOW_SIZE, density)
        try:
            driver.on_new_document(_WATCH_POLICY)
        except CannotInThisEngine:
            pass  # the policy's breaches reach the console all the same
        try:
            yield driver
        finally:
            driver.quit()
    finally:
        if display:
            display.kill()
            display.wait()
        shutil.rmtree(profile, ignore_errors=True)


def chromium():
    return engine("chromium")


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
