"""The page served from a folder to the browsers: by a private HTTP server, the
page's own (web/serve/serve.py), so that the browser sees its headers, or by
Debian's nginx with the page's nginx file, as a real host serves it. Every
port is chosen free at run time; each server goes when its `with` ends."""
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

HERE = os.path.dirname(os.path.abspath(__file__))

sys.path[:0] = [os.path.join(HERE, "..", "..", "web", "serve"), os.path.join(HERE, "..", "e2e")]
import serve  # noqa: E402  (web/serve/: the page's server)
from private_desktop import end_group  # noqa: E402


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


def nginx_for_page(copies, folder, redirect_index=False):
    """nginx serving `copies` with the nginx file built beside the page's `folder`."""
    return nginx_served(copies, os.path.join(folder, NGINX_CONF), redirect_index)
