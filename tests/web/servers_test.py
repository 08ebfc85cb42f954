#!/usr/bin/python3
"""The page's servers on bad input: the development server (web/serve/serve.py,
through scripts/web.sh serve) and the tests' nginx (browser.nginx_served) say
in one line why they cannot serve, and fail, within seconds."""
import os
import socket
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.join(HERE, "..", "..")
SERVE = os.path.join(ROOT, "web", "serve", "serve.py")
WEB_SH = os.path.join(ROOT, "scripts", "web.sh")
_SECONDS = 30

sys.path.insert(0, HERE)
import browser  # noqa: E402


def run(command):
    """(exit status, the lines it wrote to stderr)."""
    done = subprocess.run(command, capture_output=True, text=True, timeout=_SECONDS)
    return done.returncode, done.stderr.splitlines()


def nginx_on(folder, port):
    """(1, nginx's one line) when browser.nginx_served cannot start nginx on `port`."""
    conf = os.path.join(folder, "empty.conf")
    open(conf, "w").close()
    try:
        with browser.nginx_served({"/": folder}, conf, port=port):
            return 0, []
    except browser.HostDidNotStart as error:
        return 1, str(error).splitlines()


# (bad input, how it is tried given a folder with a page and a port in use,
# exit status, the start of the one line said)
CASES = (
    ("serve.py on a folder without a page",
     lambda page, port: run([sys.executable, SERVE, os.path.join(page, "missing")]),
     1, "serve.py: no page in "),
    ("serve.py on a port in use",
     lambda page, port: run([sys.executable, SERVE, page, "--port", str(port)]),
     1, "serve.py: cannot listen on 127.0.0.1:"),
    ("web.sh serve with a port that cannot be",
     lambda page, port: run([WEB_SH, "serve", "70000"]),
     2, 'web.sh: the port must be a number from 1 to 65535, not "70000"'),
    ("nginx on a port in use", nginx_on, 1, "nginx did not start on 127.0.0.1:"),
)


def main():
    failed = 0
    with tempfile.TemporaryDirectory() as page, socket.socket() as taken:
        open(os.path.join(page, "index.html"), "w").close()
        taken.bind(("127.0.0.1", 0))
        taken.listen()
        port = taken.getsockname()[1]
        for what, attempt, status, line in CASES:
            started = time.monotonic()
            got, said = attempt(page, port)
            seconds = time.monotonic() - started
            if got != status or len(said) != 1 or not said[0].startswith(line):
                print(f"FAIL: {what}: exit {got} (expected {status}), said {said!r}")
                failed += 1
            else:
                print(f"ok: {what}: {said[0]} ({seconds:.1f} s)")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
