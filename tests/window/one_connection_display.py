#!/usr/bin/python3
"""An X display that lets one client in and refuses the next.

Serves the first free display number on its Unix socket, prints the number
once it listens, forwards the first connection to the X server of $DISPLAY,
then stops listening: a program's own display check gets through, and Qt's
connection right after it is refused. Ends when the forwarded connection does.

With --resets it forwards every connection, except one that comes when the
last client has just left: that one is turned away, as an X server that
resets when its last client goes turns away a client during the reset. Runs
until it is ended.
"""
import os
import select
import signal
import socket
import sys

SOCKETS = "/tmp/.X11-unix"


def free_display():
    """A number no server uses, by its socket file, its lock or its abstract name."""
    for number in range(300, 600):
        path = f"{SOCKETS}/X{number}"
        if os.path.exists(path) or os.path.exists(f"/tmp/.X{number}-lock"):
            continue
        with socket.socket(socket.AF_UNIX) as probe:
            try:
                probe.bind("\0" + path)  # libxcb tries the abstract name first
            except OSError:
                continue
        return number, path
    raise RuntimeError("no free display number")


def forward(one, other):
    while True:
        ready, _, _ = select.select([one, other], [], [])
        for source in ready:
            data = source.recv(65536)
            if not data:
                return
            (other if source is one else one).sendall(data)


def serve_resetting(listener, upstream_path):
    peers = {}  # each forwarded socket and the one it forwards to
    emptied = False
    while True:
        ready, _, _ = select.select([listener, *peers], [], [])
        # Ends before arrivals: a client that left before the next came counts.
        for source in (s for s in ready if s is not listener and s in peers):
            data = source.recv(65536)
            if data:
                peers[source].sendall(data)
                continue
            other = peers.pop(source)
            peers.pop(other, None)
            source.close()
            other.close()
            emptied = not peers
        if listener in ready:
            client, _ = listener.accept()
            if emptied:
                client.close()
                emptied = False
                continue
            upstream = socket.socket(socket.AF_UNIX)
            upstream.connect(upstream_path)
            peers[client] = upstream
            peers[upstream] = client


def main():
    upstream_path = f"{SOCKETS}/X{os.environ['DISPLAY'].lstrip(':').split('.')[0]}"
    number, path = free_display()
    listener = socket.socket(socket.AF_UNIX)
    listener.bind(path)
    listener.listen(1)
    print(number, flush=True)
    if sys.argv[1:] == ["--resets"]:
        # Ended by a signal, it still takes its socket file away.
        signal.signal(signal.SIGTERM, lambda *_: sys.exit(0))
        try:
            serve_resetting(listener, upstream_path)
        finally:
            os.unlink(path)
    try:
        client, _ = listener.accept()
    finally:
        listener.close()
        os.unlink(path)
    with client, socket.socket(socket.AF_UNIX) as upstream:
        upstream.connect(upstream_path)
        forward(client, upstream)
    return 0


if __name__ == "__main__":
    sys.exit(main())
