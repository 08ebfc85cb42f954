"""Headless Debian chromium driven through chromedriver, on a page served from
a folder by a private HTTP server, the page's own (web/serve.py), so that the
browser sees its headers. Every port is chosen free at run time and every
browser gets a fresh profile; all of it goes when the `with` ends."""
import contextlib
import http.server
import os
import shutil
import sys
import tempfile
import threading

from selenium import webdriver
from selenium.webdriver.chrome.service import Service

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "web"))
import serve  # noqa: E402  (web/: the page's server)

CHROMIUM = "/usr/bin/chromium"
CHROMEDRIVER = "/usr/bin/chromedriver"
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


@contextlib.contextmanager
def chromium(extra_arguments=(), headless=True):
    """A chromium with a fresh profile, one CSS pixel to one pixel: headless,
    or with a window on the caller's display."""
    profile = tempfile.mkdtemp(prefix="bul-pgia-chromium.")
    options = webdriver.ChromeOptions()
    options.binary_location = CHROMIUM
    for argument in (*(["--headless=new"] if headless else []), "--no-sandbox", "--disable-gpu",
                     "--disable-background-networking", "--disable-component-update",
                     "--disable-sync", "--no-first-run", "--no-default-browser-check",
                     "--disable-dev-shm-usage", "--force-device-scale-factor=1",
                     "--window-size=%d,%d" % WINDOW_SIZE, f"--user-data-dir={profile}",
                     *extra_arguments):
        options.add_argument(argument)
    # No bar saying the browser is under automated control: a player's
    # browser has none, and a screen reader would read it out.
    options.add_experimental_option("excludeSwitches", ["enable-automation"])
    # chromedriver itself listens on a free port that Service picks.
    driver = webdriver.Chrome(service=Service(CHROMEDRIVER), options=options)
    driver.execute_cdp_cmd("Page.addScriptToEvaluateOnNewDocument", {"source": _WATCH_POLICY})
    try:
        yield driver
    finally:
        driver.quit()
        shutil.rmtree(profile, ignore_errors=True)


def policy_violations(driver):
    """What the current document's security policy blocked since it loaded."""
    return driver.execute_script("return window.policyViolations || []")


def emulate_screen(driver, width, height, touch=False):
    """Makes the page's viewport `width` x `height` CSS pixels, as a phone's
    (a mobile viewport and a touch screen) when `touch`."""
    driver.execute_cdp_cmd("Emulation.setDeviceMetricsOverride", {
        "width": width, "height": height, "deviceScaleFactor": 1, "mobile": touch})
    driver.execute_cdp_cmd("Emulation.setTouchEmulationEnabled", {
        "enabled": touch, "maxTouchPoints": 1})
