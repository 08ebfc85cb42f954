"""Xvfb for the start-up benchmarks: a private X server on a free display."""

import os
import select
import subprocess
import time

START_TIMEOUT_S = 15.0


def read_line_from(read_fd, what):
    """The first line a starting server writes to `read_fd`; raises if none comes."""
    data = b""
    deadline = time.monotonic() + START_TIMEOUT_S
    while not data.endswith(b"\n"):
        ready, _, _ = select.select([read_fd], [], [], max(0.0, deadline - time.monotonic()))
        chunk = os.read(read_fd, 256) if ready else b""
        if not chunk:
            raise RuntimeError(f"{what} did not start")
        data += chunk
    os.close(read_fd)
    return data.decode().strip()


def start_xvfb(env=None):
    """Starts Xvfb (1280x1024) on a display it picks itself; returns (process, ":N")."""
    read_fd, write_fd = os.pipe()
    server = subprocess.Popen(
        ["Xvfb", "-displayfd", str(write_fd), "-screen", "0", "1280x1024x24",
         "-nolisten", "tcp", "-noreset"],
        env=env, pass_fds=(write_fd,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    os.close(write_fd)
    try:
        return server, ":" + read_line_from(read_fd, "Xvfb")
    except RuntimeError:
        server.kill()
        server.wait()
        raise
