"""The page as hosts serve it: nginx with the page's nginx file under a
sub-path, its headers and compression, the service worker that plays it
offline, and a next build put on the server while a player has the page."""
import os
import shutil
import tempfile
import time
import urllib.error
import urllib.request

import pytest
from selenium.webdriver.common.by import By

import rebuild
import scenarios as desktop
import servers
from page_player import PagePlayer
from waiting import wait_until

def _load_under_worker(driver, url):
    """Loads the page until its service worker serves it: from the first load
    after the worker is installed."""
    PagePlayer(driver, url)
    driver.set_script_timeout(30)
    driver.execute_async_script("navigator.serviceWorker.ready.then(() => arguments[0]())")
    PagePlayer(driver, url)
    assert driver.execute_script("return navigator.serviceWorker.controller !== null"), \
        "a load after the service worker is ready is not served by it"


# The page under a sub-path of its origin, as most hosts give it.
SUB_PATH = "/games/bul-pgia/"


# The hosts the page must install on and play offline from, all as nginx
# serves the built folder: (sub-paths of the copies, index.html redirected to
# its folder's address). Two copies are two builds.
@pytest.mark.parametrize("paths, redirect_index", [
    pytest.param((SUB_PATH,), False, id="one_copy"),
    # A bug: each copy's worker deleted every other copy's files.
    pytest.param(("/a/", "/b/"), False, id="two_copies"),
    # A bug: the worker kept index.html's redirected answer, which the browser
    # refuses for a page, and the page failed even online.
    pytest.param((SUB_PATH,), True, id="redirecting_host"),
])
def test_installs_and_plays_offline(fresh_driver, page_folder, paths, redirect_index):
    """Chromium finds the page installable and, once the page's service worker
    controls each copy, plays a whole game in each with the server gone."""
    driver, folder = fresh_driver, page_folder
    with tempfile.TemporaryDirectory() as other:
        copies = {}
        for number, path in enumerate(paths):
            copies[path] = folder
            if number:
                copies[path] = os.path.join(other, str(number))
                shutil.copytree(folder, copies[path])
                rebuild.another_version(copies[path])
        with servers.nginx_for_page(copies, folder, redirect_index) as origin:
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


def test_served_with_its_headers(driver, page_folder):
    """nginx, with the page's nginx file and under a sub-path, sends the
    page's security policy as a header with the start page and the worker,
    forbids sniffing and referrers,
    gives every file its type, asks again for the start page and the worker
    only, and sends every text and WebAssembly file of the folder compressed."""
    folder = page_folder
    with servers.nginx_for_page({SUB_PATH: folder}, folder) as origin:
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
     lambda folder: rebuild.rebuild_one_file(folder, "page.js", "\n// not the listed bytes\n"),
     "redundant"),
    ("a file the server answers with an error",
     lambda folder: rebuild.rebuild_one_file(folder, "fit.js", None), "redundant"),
)


def test_next_build_replaces_the_old_whole(fresh_driver, page_folder):
    """A new build put on the server while the page is open is installed
    beside the old one: the open page and its reloads keep the old build's
    every file, and once no page of it is left, a load gets the new one's.
    A build with one file wrong is never installed: the old one stays, whole."""
    driver, folder = fresh_driver, page_folder
    for fault, spoil, state in NEXT_BUILDS:
        with tempfile.TemporaryDirectory() as served:
            shutil.copytree(folder, served, dirs_exist_ok=True)
            _replace_build(driver, folder, served, fault, spoil, state)


def _replace_build(driver, folder, served, fault, spoil, state):
    mark = "next build"
    with servers.nginx_for_page({SUB_PATH: served}, folder) as origin:
        url = origin + SUB_PATH
        _load_under_worker(driver, url)
        rebuild.rebuild(served, [("index.html", "</body>", f"<!-- {mark} --></body>"),
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
