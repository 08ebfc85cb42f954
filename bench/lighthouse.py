#!/usr/bin/python3
"""Lighthouse's four scores for the web page, on a phone (its default: a
throttled mid-range phone) and on a desktop (--preset=desktop).

Builds the page with scripts/web.sh (or takes a built folder), serves it with
the page's own server (web/serve/serve.py, with its headers) on a free local port,
and runs the Lighthouse pinned in bench/lighthouse/ (npm ci from its lock file
on the first run) under Debian's node and chromium, a fresh profile each run.
Prints one row per form factor: performance as the median of N runs
(default 3, each run's score beside it), accessibility, best practices and
SEO as the median of the same runs.

Usage: bench/lighthouse.py [--runs N] [--page FOLDER]
"""
import http.server
import json
import os
import statistics
import subprocess
import sys
import threading

import page_options  # bench/: the options both page benchmarks take

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
LIGHTHOUSE = os.path.join(ROOT, "bench", "lighthouse")
CHROMIUM = "/usr/bin/chromium"
CATEGORIES = ("performance", "accessibility", "best-practices", "seo")
FORM_FACTORS = (("mobile", []), ("desktop", ["--preset=desktop"]))

sys.path.insert(0, os.path.join(ROOT, "web", "serve"))
import serve  # noqa: E402  (web/serve/: the page's server)


def lighthouse_cli():
    cli = os.path.join(LIGHTHOUSE, "node_modules", "lighthouse", "cli", "index.js")
    if not os.path.isfile(cli):
        subprocess.run(["npm", "ci", "--no-audit", "--no-fund"], cwd=LIGHTHOUSE, check=True,
                       stdout=subprocess.DEVNULL)
    return cli


def scores(cli, url, flags):
    """One Lighthouse run: {category: score out of 100}."""
    report = subprocess.run(
        ["node", cli, url, "--output=json", "--output-path=stdout", "--quiet",
         "--only-categories=" + ",".join(CATEGORIES),
         "--chrome-flags=--headless=new --no-sandbox --disable-dev-shm-usage", *flags],
        check=True, capture_output=True, text=True,
        env={**os.environ, "CHROME_PATH": CHROMIUM}).stdout
    categories = json.loads(report)["categories"]
    return {name: round(categories[name]["score"] * 100) for name in CATEGORIES}


def main():
    options = page_options.parse(__doc__, default_runs=3)
    page = options.page
    cli = lighthouse_cli()
    version = subprocess.run(["node", cli, "--version"], check=True, capture_output=True,
                             text=True).stdout.strip()

    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), serve.handler(page, quiet=True))
    threading.Thread(target=server.serve_forever, daemon=True).start()
    url = f"http://127.0.0.1:{server.server_address[1]}/"
    try:
        rows = []
        for form_factor, flags in FORM_FACTORS:
            runs = [scores(cli, url, flags) for _ in range(options.runs)]
            rows.append((form_factor, runs))
    finally:
        server.shutdown()
        server.server_close()

    print(f"Lighthouse {version}, {options.runs} runs each (performance: median, and each run)")
    print(f"{'':<10}{'performance':>24}{'accessibility':>15}{'best practices':>16}{'SEO':>6}")
    for form_factor, runs in rows:
        median = {name: statistics.median(run[name] for run in runs) for name in CATEGORIES}
        performance = f"{median['performance']:g} (" + \
            " ".join(str(run["performance"]) for run in runs) + ")"
        print(f"{form_factor:<10}{performance:>24}{median['accessibility']:>15g}"
              f"{median['best-practices']:>16g}{median['seo']:>6g}")


if __name__ == "__main__":
    main()
