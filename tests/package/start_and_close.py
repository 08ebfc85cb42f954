#!/usr/bin/python3
"""Starts a command in a private desktop, waits for the game's window, closes it
through the window manager's close request and expects exit status 0.

    start_and_close.py [--wait SECONDS] COMMAND [ARG...]

The command runs with the environment given (its PATH decides which program
starts). Exits 0 when the window came and the program then ended with 0.
--wait gives the window longer than 20 s to come, for a command that builds
the game before it starts it (scripts/play.sh).
"""
import os
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "e2e"))

import desktop  # noqa: E402  (the e2e helpers are found through the path above)
from waiting import wait_until  # noqa: E402

# The window's title. An installed package has no build beside it to print the
# tables from (tests/vocabulary.py), so this check, run on one, names it itself.
WINDOW_TITLE = "זמבורה"
_WINDOW_WAIT_SECONDS = 20.0
# Beyond the wait for the window: the close request and the program's end.
_CLOSE_SECONDS = 40


def _inside(window_wait, command):
    with tempfile.TemporaryFile(mode="w+") as log:
        started = time.monotonic()
        program = subprocess.Popen(command, stdout=log, stderr=subprocess.STDOUT)

        def window_unless_ended():
            if program.poll() is not None:
                raise AssertionError(f"the program ended with status {program.returncode}"
                                     " before its window showed")
            return desktop.windows_titled(program.pid, WINDOW_TITLE)

        try:
            window = wait_until(window_unless_ended, window_wait,
                                "the window titled " + WINDOW_TITLE)[0]
            shown = time.monotonic() - started
            desktop.ask_to_close(window)
            status = program.wait(timeout=10)
        except (AssertionError, subprocess.TimeoutExpired) as failure:
            log.seek(0)
            print(f"FAIL: {failure}\n--- program output ---\n{log.read()}")
            return 1
        finally:
            if program.poll() is None:
                program.kill()
                program.wait()
    if status != 0:
        print(f"FAIL: the program ended with status {status} after the close request")
        return 1
    print(f"PASS: window shown after {shown:.1f} s; closed by the close request, status 0")
    return 0


def main(argv):
    if len(argv) >= 4 and argv[1] == "--inside":
        return _inside(float(argv[2]), argv[3:])
    window_wait = _WINDOW_WAIT_SECONDS
    if len(argv) >= 3 and argv[1] == "--wait":
        window_wait = float(argv[2])
        argv = [argv[0], *argv[3:]]
    if len(argv) < 2:
        print(__doc__, file=sys.stderr)
        return 2
    from private_desktop import run_in_private_desktop
    return run_in_private_desktop([sys.executable, os.path.abspath(__file__), "--inside",
                                   str(window_wait), *argv[1:]], window_wait + _CLOSE_SECONDS)


if __name__ == "__main__":
    sys.exit(main(sys.argv))
