"""A private desktop for one test: its own Xvfb, runtime folder and session bus.

The caller's display, session bus and accessibility bus are never used, so tests
can run side by side and on machines without a display. Everything started here
is torn down when the session ends, also when the test fails or times out.
"""
import os
import shutil
import signal
import subprocess
import tempfile

# Variables that would lead a program to the caller's desktop instead of ours.
_FOREIGN_VARIABLES = (
    "DISPLAY", "XAUTHORITY", "WAYLAND_DISPLAY", "DBUS_SESSION_BUS_ADDRESS",
    "AT_SPI_BUS_ADDRESS", "XDG_RUNTIME_DIR", "XDG_SESSION_TYPE", "QT_QPA_PLATFORM",
    "SESSION_MANAGER",
)


def _start_xvfb():
    """Starts Xvfb on the first free display; returns (process, display number).

    -displayfd lets the server choose a free number and report it once it
    accepts connections, so there is no race on display numbers and no sleep.
    """
    read_end, write_end = os.pipe()
    server = subprocess.Popen(
        ["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1024x768x24",
         "-nolisten", "tcp"],
        pass_fds=(write_end,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
        start_new_session=True)
    os.close(write_end)
    with os.fdopen(read_end) as reader:
        line = reader.readline().strip()
    if not line.isdigit():
        server.kill()
        server.wait()
        raise RuntimeError("Xvfb did not report a display number")
    return server, int(line)


def _end_group(process, grace_seconds=3):
    """Ends `process` and every process of its group (it leads its own group)."""
    try:
        os.killpg(process.pid, signal.SIGTERM)
    except ProcessLookupError:
        pass
    try:
        process.wait(timeout=grace_seconds)
    except subprocess.TimeoutExpired:
        pass
    try:
        os.killpg(process.pid, signal.SIGKILL)
    except ProcessLookupError:
        pass
    process.wait()


def run_in_private_desktop(command, timeout_seconds):
    """Runs `command` (a list) under its own Xvfb and `dbus-run-session`.

    Returns the command's exit status; a command that overruns the timeout is
    ended with everything it started, and counts as a failure.
    """
    runtime_dir = tempfile.mkdtemp(prefix="bul-pgia-e2e-")  # created 0700
    server, display = _start_xvfb()
    try:
        env = {k: v for k, v in os.environ.items() if k not in _FOREIGN_VARIABLES}
        env.update(DISPLAY=f":{display}", XDG_RUNTIME_DIR=runtime_dir,
                   XDG_SESSION_TYPE="x11", LANG="C.UTF-8", LC_ALL="C.UTF-8")
        session = subprocess.Popen(["dbus-run-session", "--"] + list(command), env=env,
                                   start_new_session=True)
        try:
            return session.wait(timeout=timeout_seconds)
        except subprocess.TimeoutExpired:
            print(f"FAIL: no result after {timeout_seconds} s; ending the test", flush=True)
            return 1
        finally:
            _end_group(session)
    finally:
        _end_group(server)
        shutil.rmtree(runtime_dir, ignore_errors=True)
