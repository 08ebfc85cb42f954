#!/usr/bin/python3
"""Writes NAME.gz beside every text and WebAssembly file of the built folder
(gzip -9, no name or time stamp, so that a rebuild gives the same bytes), for
hosts that send a file's compressed copy as it is (nginx's gzip_static): the
module alone is 46 KiB of WebAssembly that a server's default gzip types
leave out. The sky's JPEG gets one too (gzip takes 6 % more off it); the
icons' PNGs and the WOFF2 fonts would only grow. A copy
whose file went is removed, so no host ever sends an old build's bytes.
Runs after precache.py: the worker is compressed too, and the service
worker's list (and the page's measured weight) never counts the copies.

Usage: compress.py FOLDER
"""
import gzip
import os
import sys

COMPRESSED = (".html", ".js", ".css", ".wasm", ".webmanifest", ".txt", ".ico", ".jpg")


def main(folder):
    for name in sorted(os.listdir(folder)):
        path = os.path.join(folder, name)
        if name.endswith(".gz"):
            if not os.path.exists(path[:-3]):
                os.remove(path)
            continue
        if not name.endswith(COMPRESSED):
            continue
        with open(path, "rb") as file:
            data = gzip.compress(file.read(), compresslevel=9, mtime=0)
        if os.path.exists(path + ".gz"):
            with open(path + ".gz", "rb") as file:
                if file.read() == data:
                    continue
        with open(path + ".gz", "wb") as file:
            file.write(data)


if __name__ == "__main__":
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    main(sys.argv[1])
