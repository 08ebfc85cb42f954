"""Orca, Debian's screen reader, in a test's private desktop: what it presents
is read from its debug log as it is written.

Start it inside a private desktop whose accessibility bus already answers
(private_desktop.py and run_scenario.py make one), before the program it is
to read; it uses the caller's display and session bus:

    import orca
    with orca.Orca() as reader:
        ...start the program; give its window the input focus...
        mark = reader.mark()
        ...type, press, click...
        text = reader.wait_for_presented(lambda text: "1234" in text, since=mark)
        reader.presented(since=mark)        # every text presented since `mark`

What Orca presents is each `SPEECH OUTPUT` line of its log (what it speaks;
logged even with speech off) and each `BRAILLE LINE` (what it shows on a
braille display, messages included; logged with no display attached): the
quoted text of both, exactly, in the order logged. A failed wait lists
every text presented since `since`.

Orca runs with speech off, so nothing is heard and no speech server starts.
Its preferences, home and XDG folders are a temporary folder of its own and
its GSettings are in memory, so nothing of the machine's settings is read or
written (the accessibility bus launcher writes GSettings too: start it with
GSETTINGS_BACKEND=memory, as private_desktop.py does). Orca and its folder
go when the `with` block ends, or at `stop()`, whatever the outcome.

A window with no window manager (Xvfb) is not active until it is given the
input focus (`xdotool windowfocus --sync WINDOW`, as a window manager does
for a new window); until then Orca presents nothing of it.

Orca refuses to start while another Orca of the same user runs, on any
display: tests that use this module must not run at the same time (CTest:
RESOURCE_LOCK orca), and beside someone else's Orca (a developer's own screen
reader, another suite's) `Orca()` raises `OtherOrca`, which the runners
report as a skipped test. The other Orca is never replaced or ended.
"""
import os
import re
import shutil
import signal
import subprocess
import tempfile
import threading
import time
import tty

START_TIMEOUT_S = 30.0
# Orca logs one of these (Debian 12's Orca 43, later Orcas) once its event
# listeners are registered: from then on it hears every accessibility event.
_READY_LINES = ("ORCA: Starting ATSPI registry.", "ORCA: Starting Atspi main event loop")
# "SPEECH OUTPUT: 'text'" then maybe " voice=name" and the voice's settings
# "{...}"; "BRAILLE LINE:  'text'". The text may hold quotes itself.
# What Orca prints when another of the same user runs ("Another screen
# reader process is already running for this session.").
_OTHER_ORCA_SAYS = "Another screen reader process is already running"
_PRESENTED = re.compile(r" - (SPEECH OUTPUT|BRAILLE LINE):\s+'(.*)'(?: voice=\w+)?\s*(?:\{.*\})?$")


class OtherOrca(RuntimeError):
    """Another Orca of this user runs, so this one cannot."""


def other_orcas():
    """The process ids of the Orcas of this user that run now, as Orca itself
    finds them when it starts."""
    found = subprocess.run(["pgrep", "-u", str(os.getuid()), "-x", "orca"],
                           capture_output=True, text=True)
    return [int(pid) for pid in found.stdout.split()]


def _refuse_beside(pids):
    raise OtherOrca(f"another Orca of this user runs (process {', '.join(map(str, pids))}); "
                    "Orca allows one per user")


class Orca:
    def __init__(self):
        others = other_orcas()
        if others:
            _refuse_beside(others)
        self._folder = tempfile.mkdtemp(prefix="bul-pgia-orca-")
        private = {name: os.path.join(self._folder, folder) for name, folder in (
            ("HOME", "home"), ("XDG_CONFIG_HOME", "config"), ("XDG_DATA_HOME", "data"),
            ("XDG_CACHE_HOME", "cache"), ("XDG_STATE_HOME", "state"))}
        for path in private.values():
            os.mkdir(path)
        # GSettings in memory: Orca's and GTK's settings writes reach no dconf.
        env = {**os.environ, **private, "GSETTINGS_BACKEND": "memory"}
        # Orca never flushes its debug log; written to a terminal, Python
        # flushes it at every line, so each line is read as soon as it is
        # logged. The terminal is raw: the lines arrive as written.
        self._terminal, self._terminal_end = os.openpty()
        tty.setraw(self._terminal_end)
        self._lines = []
        self._partial = b""
        self._lock = threading.Lock()
        self._reader = threading.Thread(target=self._read_log, daemon=True)
        self._reader.start()
        self._output = open(os.path.join(self._folder, "output.txt"), "w+")
        self.process = None
        try:
            try:
                self.process = subprocess.Popen(
                    ["orca", "--disable", "speech",
                     "--user-prefs", os.path.join(self._folder, "prefs"),
                     "--debug-file", os.ttyname(self._terminal_end)],
                    env=env, stdin=subprocess.DEVNULL, stdout=self._output,
                    stderr=subprocess.STDOUT, start_new_session=True)
            except FileNotFoundError:
                raise RuntimeError("orca is not installed (Debian package orca)") from None
            try:
                self.wait_for_line(lambda line: any(ready in line for ready in _READY_LINES),
                                   timeout=START_TIMEOUT_S, what="Orca to start")
            except AssertionError:
                # The other Orca started after the look above: Orca says so and ends.
                if self.process.poll() is not None and _OTHER_ORCA_SAYS in self.output():
                    _refuse_beside(other_orcas() or ["?"])
                raise
        except BaseException:
            self.stop()
            raise

    def __enter__(self):
        return self

    def __exit__(self, *exception):
        self.stop()

    # -- the log ---------------------------------------------------------------

    def _read_log(self):
        while True:
            try:
                chunk = os.read(self._terminal, 65536)
            except OSError:  # every writer closed the terminal
                chunk = b""
            if not chunk:
                return
            *complete, self._partial = (self._partial + chunk).split(b"\n")
            with self._lock:
                self._lines += (line.decode("utf-8", "replace") for line in complete)

    def lines(self, since=0):
        """The debug log's complete lines from line number `since` on."""
        with self._lock:
            return self._lines[since:]

    def mark(self):
        """The number of lines logged so far: a `since` for what comes next."""
        return len(self.lines())

    def presented(self, since=0):
        """The texts Orca spoke or showed in braille from `since` on, in order."""
        return [match.group(2) for match in map(_PRESENTED.search, self.lines(since))
                if match]

    def wait_for_line(self, condition, since=0, timeout=10.0, what="a line in Orca's log"):
        """The first log line from `since` on for which `condition(line)` is
        true; fails when Orca ends or `timeout` seconds pass first."""
        deadline = time.monotonic() + timeout
        while True:
            found = next((line for line in self.lines(since) if condition(line)), None)
            if found is not None:
                return found
            if self.process.poll() is not None:
                raise AssertionError(f"Orca ended (status {self.process.returncode}) "
                                     f"while waiting for {what}:\n{self.output()}")
            if time.monotonic() > deadline:
                raise AssertionError(f"timed out waiting for {what}")
            time.sleep(0.05)

    def wait_for_presented(self, condition, since=0, timeout=10.0, what="Orca to present"):
        """The first text presented from `since` on for which `condition(text)`
        is true; fails with every text presented meanwhile when none comes."""
        def matching(line):
            match = _PRESENTED.search(line)
            return match is not None and condition(match.group(2))
        try:
            return _PRESENTED.search(self.wait_for_line(matching, since, timeout, what)).group(2)
        except AssertionError as error:
            shown = "\n".join(self.presented(since))
            raise AssertionError(f"{error}; Orca presented:\n{shown}") from None

    def output(self):
        """What Orca wrote to its standard output and error."""
        self._output.seek(0)
        return self._output.read()

    # -- the end -----------------------------------------------------------------

    def stop(self):
        """Ends Orca with whatever it started and removes its folder; the
        lines read stay readable. Stopping twice does nothing more."""
        if self._output.closed:
            return
        if self.process is not None:
            if self.process.poll() is None:
                os.killpg(self.process.pid, signal.SIGTERM)
                try:
                    self.process.wait(timeout=5)
                except subprocess.TimeoutExpired:
                    pass
            try:
                os.killpg(self.process.pid, signal.SIGKILL)
            except ProcessLookupError:
                pass
            self.process.wait()
        os.close(self._terminal_end)
        self._reader.join(timeout=5)
        os.close(self._terminal)
        self._output.close()
        shutil.rmtree(self._folder, ignore_errors=True)
