"""Xvfb for the start-up benchmarks: the end-to-end tests' private X server,
with the helpers that start it, on a screen that keeps its state between the
programs measured (-noreset: no reset when the last client goes)."""

import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.dirname(os.path.abspath(__file__))),
                                "tests", "e2e"))

# The tests' own helpers, found through the path above; desktop_watch.py takes
# the three names it needs for its buses from here.
import private_desktop  # noqa: E402
from private_desktop import START_TIMEOUT_S, accessibility_bus_launcher, read_line_from  # noqa: E402

__all__ = ["START_TIMEOUT_S", "accessibility_bus_launcher", "read_line_from", "start_xvfb"]


def start_xvfb(env=None):
    """Starts Xvfb (1280x1024) on a display it picks itself; returns (process, ":N")."""
    return private_desktop.start_xvfb("1280x1024x24", ("-noreset",), env)
