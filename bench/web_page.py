#!/usr/bin/python3
"""Web page benchmark: the size of the page's static folder and the time from
navigation to the first painted board in headless chromium.

Builds the page with scripts/web.sh (or takes a built folder), then prints
every file of the folder with its size and its gzip -9 size (what a server
that compresses sends), the totals, and the median, minimum and maximum of N
loads (default 10). Each load is a fresh navigation with the browser's cache
off, from a local server: the time is measured from the navigation's start to
the frame after the one in which the board's last row appeared, the board
being built only once the module and its fonts are in.

Then one cold load through nginx with the page's nginx file, under a
sub-path, in a fresh chromium, until the service worker holds the folder:
the bytes nginx sent (headers and all) for each file's first answer, and
for every answer, the worker's revalidations among them.

Usage: bench/web_page.py [--runs N] [--page FOLDER]
"""
import gzip
import os
import statistics
import sys
import tempfile

import page_options  # bench/: the options both page benchmarks take

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(ROOT, "tests", "web"))

import browser  # noqa: E402  (tests/web: the same headless chromium the tests use)

# Installed before any of the page's scripts run: notes the time once the
# board's last row exists and a frame with it has been painted (the callback
# of the next animation frame runs before that paint; a task posted from it
# runs after).
_PROBE = """
new MutationObserver((changes, observer) => {
    if (!document.getElementById("lbltry8")) return;
    observer.disconnect();
    requestAnimationFrame(() => setTimeout(() => {
        window.boardPaintedAt = performance.now();
    }));
}).observe(document, { childList: true, subtree: true });
"""


def folder_sizes(page):
    rows = []
    for name in sorted(os.listdir(page)):
        if name.endswith(".gz"):
            continue  # a copy for hosts that send it as it is, not a file of the page
        with open(os.path.join(page, name), "rb") as file:
            data = file.read()
        rows.append((name, len(data), len(gzip.compress(data, compresslevel=9, mtime=0))))
    return rows


def first_paint_times(page, runs):
    times = []
    with browser.served(page) as url, browser.chromium() as driver:
        driver.execute_cdp_cmd("Network.enable", {})
        driver.execute_cdp_cmd("Network.setCacheDisabled", {"cacheDisabled": True})
        # Every load from the server, as a first visit: not from the page's
        # service worker, which holds the folder after the first load.
        driver.execute_cdp_cmd("Network.setBypassServiceWorker", {"bypass": True})
        driver.execute_cdp_cmd("Page.addScriptToEvaluateOnNewDocument", {"source": _PROBE})
        for _ in range(runs):
            driver.get("about:blank")
            driver.get(url)
            driver.set_script_timeout(30)
            times.append(driver.execute_async_script("""
                const done = arguments[arguments.length - 1];
                const poll = () => window.boardPaintedAt !== undefined
                    ? done(window.boardPaintedAt) : setTimeout(poll, 10);
                poll();"""))
    return times


def nginx_cold_load(page):
    """(bytes of each address's first answer, their bodies alone, bytes of
    every answer, answers): one cold load through nginx until the worker is
    ready."""
    path = "/games/bul-pgia/"
    with tempfile.TemporaryDirectory() as scratch:
        log = os.path.join(scratch, "access.log")
        with browser.nginx_served({path: page}, os.path.join(page, browser.NGINX_CONF),
                                  log=log) as origin, browser.chromium() as driver:
            driver.get(origin + path)
            driver.set_script_timeout(30)
            driver.execute_async_script(
                "navigator.serviceWorker.ready.then(() => arguments[0]())")
        with open(log, encoding="utf-8") as file:
            answers = [line.split() for line in file]
    first = {}
    for address, _, sent, body in answers:
        first.setdefault(address, (int(sent), int(body)))
    return (sum(sent for sent, _ in first.values()), sum(body for _, body in first.values()),
            sum(int(sent) for _, _, sent, _ in answers), len(answers))


def main():
    options = page_options.parse(__doc__, default_runs=10)
    page = options.page

    rows = folder_sizes(page)
    print(f"{'file':<24}{'bytes':>10}{'gzip -9':>10}")
    for name, size, compressed in rows:
        print(f"{name:<24}{size:>10}{compressed:>10}")
    total = sum(size for _, size, _ in rows)
    total_compressed = sum(compressed for _, _, compressed in rows)
    print(f"{'total':<24}{total:>10}{total_compressed:>10}"
          f"   ({total / 1024:.1f} KiB, {total_compressed / 1024:.1f} KiB compressed)")

    first, bodies, every, answers = nginx_cold_load(page)
    print(f"a cold load through nginx: {first} bytes ({first / 1024:.1f} KiB) for each "
          f"address's first answer, {bodies} bytes ({bodies / 1024:.1f} KiB) of them bodies; "
          f"{every} bytes ({every / 1024:.1f} KiB) in all {answers} answers")

    times = first_paint_times(page, options.runs)
    print(f"navigation to first painted board, {len(times)} loads, cache off: "
          f"median {statistics.median(times):.1f} ms, "
          f"min {min(times):.1f} ms, max {max(times):.1f} ms")


if __name__ == "__main__":
    main()
