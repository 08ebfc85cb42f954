"""The desktop's accessibility bus: at-spi2-core's launcher started for a
private desktop (private_desktop.py), and the wait until its registry answers,
before any program or pyatspi asks for it."""
import contextlib
import subprocess
import time

from private_desktop import accessibility_bus_launcher


def wait_for_accessibility_bus(timeout_seconds=15):
    """Returns once the launcher owns its name and the registry answers.

    A program that asks for the accessibility bus before the launcher has
    taken its name starts a second launcher through bus activation and may
    wait a D-Bus timeout for it; so nothing is started before this returns.
    The registry is asked over its own bus first: libatspi only warns when
    the registry goes away while starting, and then keeps a broken desktop
    for the rest of the process.
    """
    from gi.repository import Gio, GLib
    session = Gio.bus_get_sync(Gio.BusType.SESSION, None)
    deadline = time.monotonic() + timeout_seconds

    def call(bus, name, path, interface, method, reply_type, parameters=None):
        return bus.call_sync(name, path, interface, method, parameters,
                             GLib.VariantType(reply_type), Gio.DBusCallFlags.NONE, 5000,
                             None).unpack()[0]

    while not call(session, "org.freedesktop.DBus", "/org/freedesktop/DBus",
                   "org.freedesktop.DBus", "NameHasOwner", "(b)",
                   GLib.Variant("(s)", ("org.a11y.Bus",))):
        if time.monotonic() > deadline:
            raise RuntimeError("the accessibility bus did not start")
        time.sleep(0.05)
    address = call(session, "org.a11y.Bus", "/org/a11y/bus", "org.a11y.Bus", "GetAddress", "(s)")
    bus = Gio.DBusConnection.new_for_address_sync(
        address, Gio.DBusConnectionFlags.AUTHENTICATION_CLIENT
        | Gio.DBusConnectionFlags.MESSAGE_BUS_CONNECTION, None, None)
    while True:
        try:
            # Starts the registry, or starts it again after it went away.
            call(bus, "org.a11y.atspi.Registry", "/org/a11y/atspi/accessible/root",
                 "org.a11y.atspi.Accessible", "GetChildren", "(a(so))")
            break
        except GLib.Error as error:
            if time.monotonic() > deadline:
                raise RuntimeError(f"the accessibility registry did not answer: {error.message}")
            print(f"the accessibility registry did not answer ({error.message}); asking again",
                  flush=True)
            time.sleep(0.1)
    bus.close_sync(None)
    import pyatspi
    pyatspi.Registry.getDesktop(0).childCount  # libatspi's own connection to the registry


@contextlib.contextmanager
def accessibility_bus():
    """The desktop's accessibility bus, its registry answering, for the block."""
    if accessibility_bus_launcher() is None:
        raise RuntimeError("at-spi-bus-launcher not found (package at-spi2-core)")
    bus = subprocess.Popen([accessibility_bus_launcher(), "--launch-immediately"],
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        wait_for_accessibility_bus()
        yield
    finally:
        bus.terminate()
        bus.wait()
