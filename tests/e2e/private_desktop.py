"""A private desktop for one test: its own display server, runtime folder and
session bus. The display server is Xvfb for an X11 desktop, or a headless
Weston for a Wayland one, which then has no X display at all.

The caller's display, session bus and accessibility bus are never used, so tests
can run side by side and on machines without a display. Everything started here
is torn down when the session ends, also when the test fails or times out.
"""
import contextlib
import os
import select
import shutil
import signal
import socket
import subprocess
import tempfile
import time

X11, WAYLAND = "x11", "wayland"

# Variables that would lead a program to the caller's desktop instead of ours.
_FOREIGN_VARIABLES = (
    "DISPLAY", "XAUTHORITY", "WAYLAND_DISPLAY", "DBUS_SESSION_BUS_ADDRESS",
    "AT_SPI_BUS_ADDRESS", "XDG_RUNTIME_DIR", "XDG_SESSION_TYPE", "QT_QPA_PLATFORM",
    "SESSION_MANAGER",
)
# Where a Wayland desktop tells the test which process its compositor is.
_COMPOSITOR_VARIABLE = "BUL_PGIA_E2E_COMPOSITOR_PID"
# The socket lies in the desktop's own runtime folder: no other desktop sees it.
_WAYLAND_SOCKET = "wayland-1"


START_TIMEOUT_S = 15.0
_BUS_LAUNCHERS = ("/usr/libexec/at-spi-bus-launcher",
                  "/usr/lib/at-spi2-core/at-spi-bus-launcher")


def accessibility_bus_launcher():
    """The path of at-spi2-core's accessibility bus launcher, or None."""
    return next((path for path in _BUS_LAUNCHERS if os.access(path, os.X_OK)), None)


def read_line_from(read_fd, what):
    """The first line a starting server writes to `read_fd`; raises if none comes."""
    data = b""
    deadline = time.monotonic() + START_TIMEOUT_S
    while not data.endswith(b"\n"):
        ready, _, _ = select.select([read_fd], [], [], max(0.0, deadline - time.monotonic()))
        chunk = os.read(read_fd, 256) if ready else b""
        if not chunk:
            os.close(read_fd)
            raise RuntimeError(f"{what} did not start")
        data += chunk
    os.close(read_fd)
    return data.decode().strip()


def start_xvfb(screen="1024x768x24", options=(), env=None):
    """Starts Xvfb on the first free display, leading a process group of its
    own; returns (process, ":N").

    -displayfd lets the server choose a free number and report it once it
    accepts connections, so there is no race on display numbers and no sleep.
    Only the socket file in /tmp/.X11-unix: an abstract socket is shared by
    every root on the machine, and a client elsewhere asking for the same
    number tries the abstract name first, so it would reach this server.
    -noreset: the tests' own short-lived clients (a search for a window, a
    key sent) would otherwise leave the server without a client now and then,
    and a program connecting during the reset that follows is refused.
    """
    read_fd, write_fd = os.pipe()
    server = subprocess.Popen(
        ["Xvfb", "-displayfd", str(write_fd), "-screen", "0", screen, "-nolisten", "tcp",
         "-nolisten", "unix-abstract", "-noreset", *options],
        env=env, pass_fds=(write_fd,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
        start_new_session=True)
    os.close(write_fd)
    try:
        return server, ":" + read_line_from(read_fd, "Xvfb")
    except RuntimeError:
        server.kill()
        server.wait()
        raise


def _start_x11():
    """Xvfb for an X11 desktop; returns (process, variables)."""
    server, display = start_xvfb()
    return server, {"DISPLAY": display, "XDG_SESSION_TYPE": "x11", "QT_QPA_PLATFORM": "xcb"}


def _accepts_connections(path):
    with socket.socket(socket.AF_UNIX, socket.SOCK_STREAM) as probe:
        try:
            probe.connect(path)
            return True
        except OSError:
            return False


def _start_weston(env, runtime_dir, module, timeout_seconds=15):
    """Starts a headless Weston with `module` loaded; returns (process, variables).

    Weston reports nothing when it is ready; its socket accepts connections
    once every global a client binds exists.
    """
    log = os.path.join(runtime_dir, "weston.log")
    server = subprocess.Popen(
        ["weston", "--backend=headless-backend.so", f"--socket={_WAYLAND_SOCKET}",
         "--no-config", "--idle-time=0", f"--modules={module}", f"--log={log}"],
        env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, start_new_session=True)
    path = os.path.join(runtime_dir, _WAYLAND_SOCKET)
    deadline = time.monotonic() + timeout_seconds
    while not _accepts_connections(path):
        if server.poll() is not None or time.monotonic() > deadline:
            end_group(server)
            with open(log, errors="replace") as reader:
                raise RuntimeError("Weston did not start:\n" + reader.read())
        time.sleep(0.02)
    return server, {"WAYLAND_DISPLAY": _WAYLAND_SOCKET, "XDG_SESSION_TYPE": "wayland",
                    "QT_QPA_PLATFORM": "wayland", _COMPOSITOR_VARIABLE: str(server.pid)}


def end_group(process, grace_seconds=3):
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


@contextlib.contextmanager
def _desktop(kind, weston_module):
    """The display server of a new desktop of `kind` and its runtime folder,
    for the block; yields the variables a program of that desktop runs with
    (all but the session bus's)."""
    runtime_dir = tempfile.mkdtemp(prefix="bul-pgia-e2e-")  # created 0700
    env = {k: v for k, v in os.environ.items() if k not in _FOREIGN_VARIABLES}
    # GSettings in memory: what the desktop's programs set (the accessibility
    # bus launcher stores whether accessibility is on) never reaches the
    # machine's dconf.
    env.update(XDG_RUNTIME_DIR=runtime_dir, LANG="C.UTF-8", LC_ALL="C.UTF-8",
               GSETTINGS_BACKEND="memory")
    server = None
    try:
        if kind == WAYLAND:
            server, variables = _start_weston(env, runtime_dir, weston_module)
        else:
            server, variables = _start_x11()
        env.update(variables)
        yield env
    finally:
        if server is not None:
            end_group(server)
        shutil.rmtree(runtime_dir, ignore_errors=True)


def run_in_private_desktop(command, timeout_seconds, kind=X11, weston_module=None):
    """Runs `command` (a list) under `dbus-run-session` in a desktop of `kind`.

    A Wayland desktop needs `weston_module` (weston_close_windows.cpp, built).
    Returns the command's exit status; a command that overruns the timeout is
    ended with everything it started, and counts as a failure.
    """
    with _desktop(kind, weston_module) as env:
        session = subprocess.Popen(["dbus-run-session", "--"] + list(command), env=env,
                                   start_new_session=True)
        try:
            return session.wait(timeout=timeout_seconds)
        except subprocess.TimeoutExpired:
            print(f"FAIL: no result after {timeout_seconds} s; ending the test", flush=True)
            return 1
        finally:
            end_group(session)


@contextlib.contextmanager
def private_desktop(kind=X11, weston_module=None):
    """This process joins a new desktop of `kind` for the block: its display
    server and a session bus of its own are started and their variables set
    in os.environ. Meant for a process that is a test's own (a fork), since
    every library it loads afterwards binds to that desktop for good."""
    with _desktop(kind, weston_module) as env:
        read_fd, write_fd = os.pipe()
        bus = subprocess.Popen(
            ["dbus-daemon", "--session", "--nofork", "--nopidfile",
             f"--print-address={write_fd}"],
            env=env, pass_fds=(write_fd,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
            start_new_session=True)
        os.close(write_fd)
        saved = dict(os.environ)
        try:
            address = read_line_from(read_fd, "the session bus")
            os.environ.clear()
            os.environ.update(env, DBUS_SESSION_BUS_ADDRESS=address)
            yield
        finally:
            os.environ.clear()
            os.environ.update(saved)
            end_group(bus)


def close_every_window():
    """In a Wayland desktop: the compositor asks every window to close, as when
    the player clicks its close button (headless Weston has no pointer)."""
    os.kill(int(os.environ[_COMPOSITOR_VARIABLE]), signal.SIGUSR1)
