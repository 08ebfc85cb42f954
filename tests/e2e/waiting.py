"""Waiting for the program: it draws and answers events in its own time."""
import time


def wait_until(condition, timeout=5.0, what="the screen to change"):
    """Polls `condition` until it returns a true value, which is returned;
    fails the test with `what` when `timeout` seconds pass first."""
    deadline = time.monotonic() + timeout
    while True:
        value = condition()
        if value:
            return value
        if time.monotonic() > deadline:
            raise AssertionError(f"timed out waiting for {what}")
        time.sleep(0.05)
