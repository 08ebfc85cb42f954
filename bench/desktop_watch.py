"""A private desktop for the start-up benchmark, and a watch on its screen.

The desktop is what a player's session offers a program that starts: an X
server (Xvfb), a session bus, and the accessibility bus with its registry
already running, so no program pays for launching them. The watch is an X
client listening on the root window: it sees any program's first window being
mapped, and through the DAMAGE extension the first drawing into it, without
the program's help. Nothing here is the game's; the peers are measured alike.
"""

import os
import select
import shutil
import signal
import subprocess
import tempfile
import time

from Xlib import X, display as xdisplay
from Xlib.ext import damage

from xvfb import (START_TIMEOUT_S as _START_TIMEOUT_S, accessibility_bus_launcher,
                  read_line_from, start_xvfb)


def _monotonic_ns():
    return time.clock_gettime_ns(time.CLOCK_MONOTONIC)


def _dbus_call(env, *arguments):
    return subprocess.run(["dbus-send", "--print-reply", *arguments], env=env,
                          capture_output=True, text=True, check=True).stdout


class PrivateDesktop:
    """Xvfb, a session bus and the accessibility bus, torn down on close()."""

    def __init__(self):
        self._processes = []
        self.runtime_dir = tempfile.mkdtemp(prefix="bul-pgia-bench-")
        try:
            self.env = {"PATH": os.environ.get("PATH", "/usr/bin:/bin"),
                        "HOME": self.runtime_dir, "XDG_RUNTIME_DIR": self.runtime_dir,
                        "XDG_SESSION_TYPE": "x11", "LANG": "C.UTF-8"}
            self.display = self._start_xvfb()
            self.env["DISPLAY"] = self.display
            self.env["DBUS_SESSION_BUS_ADDRESS"] = self._start_session_bus()
            self._start_accessibility_bus()
        except BaseException:
            self.close()
            raise

    def _spawn(self, command, pass_fds=()):
        process = subprocess.Popen(command, env=self.env, pass_fds=pass_fds,
                                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self._processes.append(process)
        return process

    def _start_xvfb(self):
        server, display = start_xvfb(self.env)
        self._processes.append(server)
        return display

    def _start_session_bus(self):
        read_fd, write_fd = os.pipe()
        self._spawn(["dbus-daemon", "--session", "--nofork", "--nopidfile",
                     f"--address=unix:path={self.runtime_dir}/bus",
                     f"--print-address={write_fd}"], pass_fds=(write_fd,))
        os.close(write_fd)
        return read_line_from(read_fd, "the session bus")

    def _start_accessibility_bus(self):
        launcher = accessibility_bus_launcher()
        if launcher is None:
            raise RuntimeError("at-spi-bus-launcher not found (package at-spi2-core)")
        self._spawn([launcher, "--launch-immediately"])
        # A program that finds the launcher's name not yet taken would start
        # a second one through bus activation; nothing starts before it is.
        deadline = time.monotonic() + _START_TIMEOUT_S
        while "true" not in _dbus_call(self.env, "--session", "--dest=org.freedesktop.DBus",
                                       "/org/freedesktop/DBus",
                                       "org.freedesktop.DBus.NameHasOwner",
                                       "string:org.a11y.Bus"):
            if time.monotonic() > deadline:
                raise RuntimeError("the accessibility bus did not start")
            time.sleep(0.05)
        address = _dbus_call(self.env, "--session", "--dest=org.a11y.Bus", "/org/a11y/bus",
                             "org.a11y.Bus.GetAddress").split('"')[1]
        # The registry runs on a desktop before any program starts; started
        # here, no measured run pays for its activation.
        _dbus_call(self.env, f"--bus={address}", "--dest=org.freedesktop.DBus",
                   "/org/freedesktop/DBus", "org.freedesktop.DBus.StartServiceByName",
                   "string:org.a11y.atspi.Registry", "uint32:0")

    def close(self):
        # The launcher ends its bus and the registry when it goes.
        for process in reversed(self._processes):
            process.terminate()
            try:
                process.wait(timeout=5)
            except subprocess.TimeoutExpired:
                process.kill()
                process.wait()
        self._processes = []
        shutil.rmtree(self.runtime_dir, ignore_errors=True)


class Start:
    """One start of a program as the screen saw it; times in ms from exec."""

    def __init__(self, map_ms, paint_ms, peak_rss_kib, private_dirty_kib):
        self.map_ms = map_ms
        self.paint_ms = paint_ms  # None when no drawing was seen
        self.peak_rss_kib = peak_rss_kib
        self.private_dirty_kib = private_dirty_kib


def _status_field(path, name):
    with open(path, encoding="ascii") as lines:
        for line in lines:
            if line.startswith(name + ":"):
                return int(line.split()[1])
    raise RuntimeError(f"no {name} in {path}")


class ScreenWatch:
    """An X client that sees windows being created, mapped and drawn into."""

    def __init__(self, display_name):
        self._display = xdisplay.Display(display_name)
        # Windows that go before the watch asks about them, or that take no
        # drawing (input-only), answer with errors that mean nothing here.
        self._display.set_error_handler(lambda *_: None)
        if not self._display.has_extension("DAMAGE"):
            raise RuntimeError("the X server has no DAMAGE extension")
        self._display.damage_query_version()
        self._damage_event = self._display.extension_event.DamageNotify
        if isinstance(self._damage_event, tuple):
            self._damage_event = self._damage_event[0]
        self._display.screen().root.change_attributes(event_mask=X.SubstructureNotifyMask)
        self._display.sync()

    def close(self):
        self._display.close()

    def _events(self, deadline):
        """The events that arrive before `deadline` (time.monotonic())."""
        while time.monotonic() < deadline:
            if not self._display.pending_events():
                select.select([self._display.fileno()], [], [],
                              max(0.0, deadline - time.monotonic()))
            while self._display.pending_events():
                yield self._display.next_event()

    def measure(self, argv, env, timeout_s):
        """Starts `argv` and ends it after its first window has been drawn.

        The time to map is when the first window that is not override-redirect
        is mapped. At that moment the program is stopped while its memory is
        read (VmHWM, and Private_Dirty of smaps_rollup), then let go; the
        time to paint is the first drawing into that window, less the time the
        program stood stopped. Raises RuntimeError when no window is mapped
        in `timeout_s`.
        """
        damages = []
        devnull = os.open(os.devnull, os.O_RDWR)
        actions = [(os.POSIX_SPAWN_DUP2, devnull, fd) for fd in (0, 1, 2)]
        start_ns = _monotonic_ns()
        pid = os.posix_spawn(argv[0], argv, env, file_actions=actions)
        os.close(devnull)
        try:
            window = None
            map_ms = paint_ms = None
            stopped_ns = 0
            for event in self._events(time.monotonic() + timeout_s):
                if event.type == X.CreateNotify:
                    # Watched from its creation, so no drawing is missed.
                    damages.append(event.window.damage_create(damage.DamageReportNonEmpty))
                    self._display.flush()
                elif event.type == X.MapNotify and window is None and not event.override:
                    map_ms = (_monotonic_ns() - start_ns) / 1e6
                    window = event.window.id
                    stop_ns = _monotonic_ns()
                    os.kill(pid, signal.SIGSTOP)
                    os.waitpid(pid, os.WUNTRACED)
                    peak = _status_field(f"/proc/{pid}/status", "VmHWM")
                    dirty = _status_field(f"/proc/{pid}/smaps_rollup", "Private_Dirty")
                    os.kill(pid, signal.SIGCONT)
                    stopped_ns = _monotonic_ns() - stop_ns
                elif (event.type == self._damage_event and window is not None
                      and event.drawable.id == window):
                    paint_ms = (_monotonic_ns() - start_ns - stopped_ns) / 1e6
                    break
            if window is None:
                raise RuntimeError(f"{os.path.basename(argv[0])} mapped no window "
                                   f"in {timeout_s:.0f} s")
            return Start(map_ms, paint_ms, peak, dirty)
        finally:
            os.kill(pid, signal.SIGKILL)
            os.waitpid(pid, 0)
            for handle in damages:
                self._display.damage_destroy(handle)
            self._display.sync()
            # What the ended program's windows still reported is not the next one's.
            while self._display.pending_events():
                self._display.next_event()
