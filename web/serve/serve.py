#!/usr/bin/python3
"""Serves the built page's folder as the page is meant to be served: with the
Content-Security-Policy of its index.html's <meta> also sent as a header (one
copy of the policy, in the page), X-Content-Type-Options: nosniff, and the
right type for each of its files, WebAssembly's among them, since a browser
that sniffs nothing trusts only the declared type.

Usage: serve.py FOLDER [--port 8000] [--bind 127.0.0.1]
A folder without a page, or a port it cannot listen on, gets one line and
the exit status 1.

Python's standard library only. The browser tests serve the page through it.
"""
import argparse
import functools
import html.parser
import http.server
import os
import sys


class _PolicyFinder(html.parser.HTMLParser):
    def __init__(self):
        super().__init__()
        self.policy = None

    def handle_starttag(self, tag, attrs):
        attributes = dict(attrs)
        if (tag == "meta" and self.policy is None
                and (attributes.get("http-equiv") or "").lower() == "content-security-policy"):
            self.policy = attributes.get("content")


def page_policy(folder):
    """The policy index.html declares in its <meta>, or None."""
    finder = _PolicyFinder()
    with open(os.path.join(folder, "index.html"), encoding="utf-8") as file:
        finder.feed(file.read())
    return finder.policy


class PageHandler(http.server.SimpleHTTPRequestHandler):
    policy = None
    quiet = False
    extensions_map = {
        **http.server.SimpleHTTPRequestHandler.extensions_map,
        ".js": "text/javascript",
        ".wasm": "application/wasm",
        ".webmanifest": "application/manifest+json",
        ".woff2": "font/woff2",
    }

    def end_headers(self):
        if self.policy:
            self.send_header("Content-Security-Policy", self.policy)
        self.send_header("X-Content-Type-Options", "nosniff")
        # Asked again every time (an unchanged file costs a 304), so that a
        # new build is what the next load gets.
        self.send_header("Cache-Control", "no-cache")
        super().end_headers()

    def handle(self):
        try:
            super().handle()
        except ConnectionError:
            pass  # the browser left mid-answer (a reload, a closed tab): nothing to report

    def log_message(self, *args):
        if not self.quiet:
            super().log_message(*args)


def handler(folder, base=PageHandler, quiet=False):
    """A request handler class for `folder`, `base` or a subclass of it,
    with the page's policy read once from its index.html."""
    served = type("Handler", (base,), {"policy": page_policy(folder), "quiet": quiet})
    return functools.partial(served, directory=folder)


def main(argv):
    parser = argparse.ArgumentParser(description=__doc__,
                                     formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("folder")
    parser.add_argument("--port", type=int, default=8000)
    parser.add_argument("--bind", default="127.0.0.1")
    options = parser.parse_args(argv[1:])
    # What a player of the command can fix gets one line, not a traceback.
    if not os.path.isfile(os.path.join(options.folder, "index.html")):
        print(f"serve.py: no page in {options.folder} (build it with scripts/web.sh)",
              file=sys.stderr)
        return 1
    try:
        server = http.server.ThreadingHTTPServer((options.bind, options.port),
                                                 handler(options.folder))
    except OSError as error:
        print(f"serve.py: cannot listen on {options.bind}:{options.port}: {error.strerror}",
              file=sys.stderr)
        return 1
    print(f"Serving {options.folder} on http://{options.bind}:{options.port}/ (Ctrl+C stops it)",
          flush=True)
    try:
        server.serve_forever()
    except KeyboardInterrupt:
        pass
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
