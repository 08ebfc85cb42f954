#!/usr/bin/python3
"""An X display that lets one client in and refuses the next.

Serves the first free display number on its Unix socket, prints the number
once it listens, forwards the first connection to the X server of $DISPLAY,
then stops listening: a program's own display check gets through, and Qt's
connection right after it is refused. Ends when the forwarded connection does.
"""
import os
import select
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


def main():
    upstream_path = f"{SOCKETS}/X{os.environ['DISPLAY'].lstrip(':').split('.')[0]}"
    number, path = free_display()
    listener = socket.socket(socket.AF_UNIX)
    listener.bind(path)
    listener.listen(1)
    print(number, flush=True)
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
