"""Headless Debian chromium driven through chromedriver, on a page served from
a folder by a private HTTP server, the page's own (web/serve/serve.py), so that the
browser sees its headers, or by Debian's nginx with the page's nginx file, as
a real host serves it. Every port is chosen free at run time and every
browser gets a fresh profile; all of it goes when the `with` ends."""
import contextlib
import http.server
import os
import shutil
import socket
import subprocess
import sys
import tempfile
import threading
import time

from selenium import webdriver
from selenium.webdriver.chrome.service import Service

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)),
                                "..", "..", "web", "serve"))
import serve  # noqa: E402  (web/serve/: the page's server)

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
        stdout=subprocess.DEVNULL, stderr=subprocess.STDOUT)
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
        server.terminate()
        try:
            server.wait(timeout=10)
        except subprocess.TimeoutExpired:
            server.kill()
            server.wait()
        shutil.rmtree(prefix, ignore_errors=True)


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
