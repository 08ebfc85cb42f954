"""The player's hands: the mouse and keyboard of the private display, and the
window manager's one request a bare X server lacks (asking a window to close).

Everything goes through the X server as real input (XTEST, via xdotool), so the
program cannot tell these events from a person's.
"""
import ctypes
import re
import subprocess
import time

# Gaps that let the program take each event before the next, as a hand would.
_TYPING_DELAY_MS = 40
_DOUBLE_CLICK_GAP_MS = 80


def _xdotool(*args):
    result = subprocess.run(["xdotool", *map(str, args)], capture_output=True, text=True)
    return result.returncode, result.stdout


def _ere_literal(text):
    """`text` as a POSIX extended regular expression matching only itself."""
    return re.sub(r"([][.^$|()*+?{}\\])", r"\\\1", text)


def windows_titled(pid, title):
    """Ids of the mapped top-level windows of process `pid` whose title is `title`."""
    status, out = _xdotool("search", "--onlyvisible", "--pid", pid,
                           "--name", f"^{_ere_literal(title)}$")
    if status != 0:
        return []
    return [int(w) for w in out.split() if window_title(int(w)) == title]


def windows_of_class(name):
    """Ids of the mapped top-level windows of class `name` (a program's
    own, such as "chromium"), waiting until there is one."""
    _, out = _xdotool("search", "--sync", "--onlyvisible", "--class", f"^{_ere_literal(name)}$")
    return [int(w) for w in out.split()]


def window_title(window):
    """The window's title as the X server holds it (_NET_WM_NAME, UTF-8)."""
    out = subprocess.run(["xprop", "-id", str(window), "-notype", "_NET_WM_NAME"],
                         capture_output=True, text=True).stdout.strip()
    match = re.fullmatch(r'_NET_WM_NAME = "(.*)"', out)
    return match.group(1).replace('\\"', '"').replace("\\\\", "\\") if match else None


def window_origin(window):
    """Top-left of the window's client area on the screen, in pixels."""
    out = subprocess.run(["xwininfo", "-id", str(window)], capture_output=True,
                         text=True, check=True).stdout
    x = int(re.search(r"Absolute upper-left X:\s+(-?\d+)", out).group(1))
    y = int(re.search(r"Absolute upper-left Y:\s+(-?\d+)", out).group(1))
    return x, y


def window_exists(window):
    return subprocess.run(["xwininfo", "-id", str(window)], capture_output=True).returncode == 0


def pointer_position():
    _, out = _xdotool("getmouselocation", "--shell")
    values = dict(line.split("=", 1) for line in out.split())
    return int(values["X"]), int(values["Y"])


def click(x, y, repeat=1):
    """Moves the pointer to (x, y) on the screen and clicks the left button."""
    # --sync waits for the pointer to move, so it would wait forever (xdotool
    # gives up after 15 s) when the pointer is there already.
    if pointer_position() != (x, y):
        _xdotool("mousemove", "--sync", x, y)
    if repeat == 1:
        _xdotool("click", "1")
    else:
        _xdotool("click", "--repeat", repeat, "--delay", _DOUBLE_CLICK_GAP_MS, "1")


def type_text(text):
    """Types `text` into whatever has the keyboard focus."""
    _xdotool("type", "--delay", _TYPING_DELAY_MS, text)


def focus(window):
    """Gives `window` the X input focus. With no window manager, it is given
    directly, as a window manager would when the player clicks a window's
    frame or a new window opens."""
    _xdotool("windowfocus", "--sync", window)


def press_key(key, window=None):
    """Presses `key` (an X keysym name such as Return) with `window` focused first."""
    if window is not None:
        focus(window)
        time.sleep(0.05)
    _xdotool("key", key)


class _ClientMessage(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong),
                ("send_event", ctypes.c_int), ("display", ctypes.c_void_p),
                ("window", ctypes.c_ulong), ("message_type", ctypes.c_ulong),
                ("format", ctypes.c_int), ("data", ctypes.c_long * 5)]


class _Event(ctypes.Union):
    _fields_ = [("xclient", _ClientMessage), ("pad", ctypes.c_long * 24)]


def ask_to_close(window):
    """Sends WM_DELETE_WINDOW to `window`: what a window manager sends when the
    player clicks the close button in the title bar. Xvfb has no window manager,
    and xdotool can only destroy or kill, which no player can do."""
    xlib = ctypes.CDLL("libX11.so.6")
    xlib.XOpenDisplay.restype = ctypes.c_void_p
    xlib.XOpenDisplay.argtypes = [ctypes.c_char_p]
    xlib.XInternAtom.restype = ctypes.c_ulong
    xlib.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
    xlib.XSendEvent.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int,
                                ctypes.c_long, ctypes.POINTER(_Event)]
    xlib.XFlush.argtypes = [ctypes.c_void_p]
    xlib.XCloseDisplay.argtypes = [ctypes.c_void_p]
    display = xlib.XOpenDisplay(None)
    if not display:
        raise RuntimeError("cannot open the X display")
    try:
        event = _Event()
        event.xclient.type = 33  # ClientMessage
        event.xclient.window = window
        event.xclient.message_type = xlib.XInternAtom(display, b"WM_PROTOCOLS", 0)
        event.xclient.format = 32
        event.xclient.data[0] = xlib.XInternAtom(display, b"WM_DELETE_WINDOW", 0)
        event.xclient.data[1] = 0  # CurrentTime
        if not xlib.XSendEvent(display, window, 0, 0, ctypes.byref(event)):
            raise RuntimeError("XSendEvent failed")
        xlib.XFlush(display)
    finally:
        xlib.XCloseDisplay(display)
