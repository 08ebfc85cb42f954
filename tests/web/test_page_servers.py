"""The page's servers on bad input: the development server (web/serve/serve.py,
through scripts/web.sh serve) and the tests' nginx (servers.nginx_served) say
in one line why they cannot serve, and fail, within seconds."""
import os
import socket
import subprocess
import sys

import pytest

import servers

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.join(HERE, "..", "..")
SERVE = os.path.join(ROOT, "web", "serve", "serve.py")
WEB_SH = os.path.join(ROOT, "scripts", "web.sh")
_SECONDS = 30


def run(command):
    """(exit status, the lines it wrote to stderr)."""
    done = subprocess.run(command, capture_output=True, text=True, timeout=_SECONDS)
    return done.returncode, done.stderr.splitlines()


def nginx_on(folder, port):
    """(1, nginx's one line) when servers.nginx_served cannot start nginx on `port`."""
    conf = os.path.join(folder, "empty.conf")
    open(conf, "w").close()
    try:
        with servers.nginx_served({"/": folder}, conf, port=port):
            return 0, []
    except servers.HostDidNotStart as error:
        return 1, str(error).splitlines()


@pytest.fixture
def page_and_port(tmp_path):
    """A folder with a page, and a port that a listener holds."""
    (tmp_path / "index.html").touch()
    with socket.socket() as taken:
        taken.bind(("127.0.0.1", 0))
        taken.listen()
        yield str(tmp_path), taken.getsockname()[1]


# (bad input, how it is tried given a folder with a page and a port in use,
# exit status, the start of the one line said)
@pytest.mark.parametrize("attempt, status, line", [
    pytest.param(lambda page, port: run([sys.executable, SERVE, os.path.join(page, "missing")]),
                 1, "serve.py: no page in ", id="serve.py on a folder without a page"),
    pytest.param(lambda page, port: run([sys.executable, SERVE, page, "--port", str(port)]),
                 1, "serve.py: cannot listen on 127.0.0.1:", id="serve.py on a port in use"),
    pytest.param(lambda page, port: run([WEB_SH, "serve", "70000"]),
                 2, 'web.sh: the port must be a number from 1 to 65535, not "70000"',
                 id="web.sh serve with a port that cannot be"),
    pytest.param(nginx_on, 1, "nginx did not start on 127.0.0.1:", id="nginx on a port in use"),
])
def test_server_says_why_it_cannot_serve(page_and_port, attempt, status, line):
    got, said = attempt(*page_and_port)
    assert (got, len(said)) == (status, 1) and said[0].startswith(line), \
        f"exit {got} (expected {status}), said {said!r}"
