#!/usr/bin/python3
"""Writes the page's service worker into the built folder: the template with
the folder's every other file, each with its SHA-256 as a subresource
integrity string, and a version made from that list and the worker's code,
which names the cache; the template's comment lines are left out. A file
that changes, appears or goes changes the worker, so the browser
installs the new build.

Usage: precache.py FOLDER TEMPLATE     (writes FOLDER/<the template's name>)
"""
import base64
import hashlib
import json
import os
import sys

# The build leaves nothing in the source folder.
sys.dont_write_bytecode = True
from strip_comments import stripped, write_if_changed  # noqa: E402

PLACEHOLDER = '"@PRECACHE@"'


def folder_files(folder, worker):
    """The folder's files as URL paths relative to it, the worker and the
    compressed copies left out."""
    names = []
    for directory, subdirectories, files in os.walk(folder):
        subdirectories[:] = sorted(d for d in subdirectories if not d.startswith("."))
        for name in files:
            path = os.path.relpath(os.path.join(directory, name), folder).replace(os.sep, "/")
            # NAME.gz is NAME as a host may send it (compress.py), not a file of the page.
            if path != worker and not name.startswith(".") and not name.endswith(".gz"):
                names.append(path)
    return sorted(names)


def main(folder, template):
    worker = os.path.basename(template)
    files = []
    for name in folder_files(folder, worker):
        with open(os.path.join(folder, name), "rb") as file:
            digest = hashlib.sha256(file.read()).digest()
        files.append([name, "sha256-" + base64.b64encode(digest).decode("ascii")])
    listing = "[\n" + ",\n".join("        " + json.dumps(entry, ensure_ascii=False)
                                   for entry in files) + "\n    ]"
    with open(template, encoding="utf-8") as file:
        text = file.read()
    if PLACEHOLDER not in text:
        sys.exit(f"precache.py: {template} has no {PLACEHOLDER}")
    # The worker's own code too: a new worker never shares its cache with the
    # build it replaces, which a failed install would then drop.
    version = hashlib.sha256((listing + text).encode("utf-8")).hexdigest()[:16]
    text = text.replace(PLACEHOLDER, f'{{\n    "version": "{version}",\n    "files": {listing}\n}}')
    # Every byte of the worker is downloaded: its comments stay in the source.
    write_if_changed(os.path.join(folder, worker), stripped(worker, text))


if __name__ == "__main__":
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    main(*sys.argv[1:])
