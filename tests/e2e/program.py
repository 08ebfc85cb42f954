"""The program under test, started as its own process with its output kept
for the report of a failed scenario."""
import os
import shutil
import subprocess
import tempfile

from waiting import wait_until

# Qt's own switch to publish the accessibility tree whatever the desktop's
# settings say; the program itself reads no variable of ours. The private
# desktop names the platform (QT_QPA_PLATFORM).
_PROGRAM_ENV = {"QT_LINUX_ACCESSIBILITY_ALWAYS_ON": "1"}


class Program:
    def __init__(self, path):
        self._log = tempfile.TemporaryFile(mode="w+")
        self.process = subprocess.Popen([path], env={**os.environ, **_PROGRAM_ENV},
                                        stdout=self._log, stderr=subprocess.STDOUT)

    def wait_for_start(self, condition, timeout, what):
        """Waits as `wait_until` does, but fails at once when the program ends
        first; either failure carries what the program wrote, which is all a
        crash under the sanitizers leaves."""
        def started():
            if self.process.poll() is not None:
                raise AssertionError(f"the program ended with status "
                                     f"{self.process.returncode} while waiting for {what}")
            return condition()
        try:
            return wait_until(started, timeout, what)
        except AssertionError as error:
            raise AssertionError(f"{error}\n--- program output ---\n{self.output()}"
                                 f"{self._stacks()}") from None

    def _stacks(self):
        """Where each thread of the program is, if it still runs and gdb is
        there: all that a program that stalls leaves to read."""
        if self.process.poll() is not None or shutil.which("gdb") is None:
            return ""
        seen = subprocess.run(["gdb", "-batch", "-p", str(self.process.pid),
                               "-ex", "thread apply all bt"],
                              capture_output=True, text=True, timeout=120)
        return "\n--- where the program is (gdb) ---\n" + seen.stdout

    def wait_for_exit(self, timeout=10.0):
        try:
            return self.process.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            raise AssertionError("the program did not end") from None

    def platform_plugins(self):
        """The file names of the Qt platform plugins the running program has
        loaded: libqxcb.so on X11, libqwayland-*.so on Wayland."""
        with open(f"/proc/{self.process.pid}/maps") as maps:
            return {os.path.basename(line.split()[-1]) for line in maps
                    if "/platforms/" in line}

    def output(self):
        self._log.seek(0)
        return self._log.read()

    def quit(self):
        """Ends the program if it still runs (after a failed check)."""
        if self.process.poll() is None:
            self.process.terminate()
            try:
                self.process.wait(timeout=5)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait()
