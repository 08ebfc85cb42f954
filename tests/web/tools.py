"""The tools from npm that the scenarios bring to the browsers: the
accessibility checker they inject and puppeteer-core, which drives Firefox,
at the versions tests/web/package-lock.json pins. `npm ci` installs them once
into a folder of the build; a run whose lock file is the installed one's
installs nothing."""
import fcntl
import filecmp
import os
import shutil
import subprocess

HERE = os.path.dirname(os.path.abspath(__file__))
NPM = "/usr/bin/npm"
_FILES = ("package.json", "package-lock.json")

# The node_modules folder in use: install()'s, or tests/web's own after a
# `npm ci` there by hand.
modules = os.path.join(HERE, "node_modules")


def install(folder):
    """node_modules in `folder`, installed there by `npm ci` unless the same
    lock file's tools already are; one installer at a time (each pytest
    worker asks)."""
    global modules
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, ".lock"), "w") as lock:
        fcntl.flock(lock, fcntl.LOCK_EX)
        installed = os.path.join(folder, "node_modules", ".package-lock.json")
        if not (os.path.isfile(installed) and all(
                os.path.isfile(os.path.join(folder, name))
                and filecmp.cmp(os.path.join(HERE, name), os.path.join(folder, name), False)
                for name in _FILES)):
            for name in _FILES:
                shutil.copy(os.path.join(HERE, name), folder)
            subprocess.run([NPM, "ci", "--no-audit", "--no-fund"], cwd=folder, check=True,
                           stdout=subprocess.DEVNULL)
    modules = os.path.join(folder, "node_modules")
    return modules
