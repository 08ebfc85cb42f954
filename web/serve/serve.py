#!/usr/bin/python3
"""Serves the built page's folder as the page is meant to be served: with the
headers of headers.txt's [development] part (the Content-Security-Policy of
its index.html's <meta> among them, one copy of the policy, in the page), and
the right type for each of its files, WebAssembly's among them, since a
browser that sniffs nothing trusts only the declared type.

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


HEADERS = os.path.join(os.path.dirname(os.path.abspath(__file__)), "headers.txt")
POLICY = "@POLICY@"


def header_parts(template=HEADERS):
    """{part: (the comment lines just above it, its (name, value) pairs)}
    of the headers template, each in its order."""
    parts, pairs, comments = {}, None, []
    with open(template, encoding="utf-8") as file:
        for line in file:
            line = line.strip()
            if not line:
                comments = []
            elif line.startswith("#"):
                comments.append(line)
            elif line.startswith("[") and line.endswith("]"):
                pairs = []
                parts[line[1:-1]] = (comments, pairs)
                comments = []
            else:
                name, value = (word.strip() for word in line.split(":", 1))
                pairs.append((name, value))
    return parts


def headers(part, policy, template=HEADERS):
    """The (name, value) pairs of `part` of the headers template, in their
    order, with `policy` for @POLICY@; without a policy, those that hold it
    are left out. A part the template does not have is a KeyError."""
    parts = header_parts(template)
    if part not in parts:
        raise KeyError(f"{template} has no part [{part}]")
    return [(name, value.replace(POLICY, policy or "")) for name, value in parts[part][1]
            if policy or POLICY not in value]


class PageHandler(http.server.SimpleHTTPRequestHandler):
    sent = ()  # (name, value) of every header added to each answer
    quiet = False
    extensions_map = {
        **http.server.SimpleHTTPRequestHandler.extensions_map,
        ".js": "text/javascript",
        ".wasm": "application/wasm",
        ".webmanifest": "application/manifest+json",
        ".woff2": "font/woff2",
    }

    def end_headers(self):
        for name, value in self.sent:
            self.send_header(name, value)
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
    with its headers read once, the page's policy from its index.html."""
    sent = tuple(headers("development", page_policy(folder)))
    served = type("Handler", (base,), {"sent": sent, "quiet": quiet})
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
