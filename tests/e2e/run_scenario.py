#!/usr/bin/python3
"""Runs one end-to-end scenario of bul-pgia in a private desktop.

    run_scenario.py [--weston-module MODULE] PROGRAM SCENARIO
    run_scenario.py --list               (prints the names of the scenarios)

The scenario runs under its own display server, X11 (Xvfb) or Wayland (a
headless Weston, which loads MODULE, the built weston_close_windows), as the
scenario asks, and its own session bus with the accessibility bus started;
everything is torn down afterwards, whatever the outcome.
"""
import argparse
import contextlib
import os
import subprocess
import sys
import time
import traceback

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)

_TIMEOUT_SECONDS = 90
# What CTest counts as skipped (SKIP_RETURN_CODE).
SKIPPED = 77


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
    from private_desktop import accessibility_bus_launcher
    bus = subprocess.Popen([accessibility_bus_launcher(), "--launch-immediately"],
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        wait_for_accessibility_bus()
        yield
    finally:
        bus.terminate()
        bus.wait()


def _inside(program, name):
    """Runs in the private desktop: starts the accessibility bus, then the scenario."""
    from private_desktop import accessibility_bus_launcher
    if accessibility_bus_launcher() is None:
        print("FAIL: at-spi-bus-launcher not found (package at-spi2-core)")
        return 1
    with accessibility_bus():
        import orca
        import scenarios
        scenario = scenarios.SCENARIOS[name]
        # The players import pyatspi, which joins the session bus at once.
        if getattr(scenario, "accessibility_only", False):
            from accessible_play import AccessibleGame as Player
        else:
            from player import Player
        player = reader = None
        started = time.monotonic()
        try:
            # The screen reader runs before the program, as on a player's desktop.
            if getattr(scenario, "with_orca", False):
                reader = orca.Orca()
            player = Player(program)
            scenario(player, reader) if reader else scenario(player)
        except orca.OtherOrca as other:
            print(f"SKIP: {name}: {other}")
            return SKIPPED
        except Exception:
            traceback.print_exc()
            if player is not None:
                print("--- program output ---\n" + player.output())
            print(f"FAIL: {name}")
            return 1
        finally:
            if player is not None:
                player.quit()
            if reader is not None:
                reader.stop()
        print(f"PASS: {name} ({time.monotonic() - started:.1f} s)")
        return 0


def main(argv):
    if len(argv) == 4 and argv[1] == "--inside":
        return _inside(argv[2], argv[3])
    import scenarios  # the table only; nothing here touches a display or a bus
    if argv[1:] == ["--list"]:
        print("\n".join(scenarios.SCENARIOS))
        return 0
    arguments = argparse.ArgumentParser(usage=__doc__)
    arguments.add_argument("--weston-module")
    arguments.add_argument("program")
    arguments.add_argument("scenario")
    options = arguments.parse_args(argv[1:])
    program, name = os.path.abspath(options.program), options.scenario
    if name not in scenarios.SCENARIOS:
        print(f"no scenario {name!r}; known: {', '.join(scenarios.SCENARIOS)}", file=sys.stderr)
        return 2
    import private_desktop
    kind = getattr(scenarios.SCENARIOS[name], "session", private_desktop.X11)
    if kind == private_desktop.WAYLAND and not options.weston_module:
        print(f"{name} runs on Wayland: give --weston-module", file=sys.stderr)
        return 2
    module = options.weston_module and os.path.abspath(options.weston_module)
    return private_desktop.run_in_private_desktop(
        [sys.executable, os.path.abspath(__file__), "--inside", program, name],
        _TIMEOUT_SECONDS, kind, module)


if __name__ == "__main__":
    sys.exit(main(sys.argv))
