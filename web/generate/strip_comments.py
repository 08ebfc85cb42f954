#!/usr/bin/python3
"""Copies one of the page's scripts, style sheets or its HTML into the built
folder without its comments, which only the source's readers need: every byte
of the folder is downloaded. A script loses its comment lines (a line whose
first characters are //), a style sheet its /* */ comments, the HTML its
<!-- --> comments; nothing else changes, so the code runs as written. The
output is rewritten only when it changes.

Usage: strip_comments.py SOURCE OUTPUT
"""
import re
import sys

_BLOCK = {".css": re.compile(r"/\*.*?\*/", re.DOTALL),
          ".html": re.compile(r"<!--.*?-->", re.DOTALL)}


def stripped(name, text):
    if name.endswith(".js"):
        return "".join(line for line in text.splitlines(keepends=True)
                       if not line.lstrip().startswith("//"))
    block = _BLOCK[name[name.rindex("."):]]
    # A line that held only a comment goes with it.
    return "".join(line for line in block.sub("", text).splitlines(keepends=True)
                   if line.strip() or not line.endswith("\n"))


def write_if_changed(output, text):
    """Writes `text` to `output` unless it holds that already, so an unchanged
    build leaves the file, and what depends on it, as it was."""
    try:
        with open(output, encoding="utf-8") as file:
            if file.read() == text:
                return
    except FileNotFoundError:
        pass
    with open(output, "w", encoding="utf-8") as file:
        file.write(text)


def main(source, output):
    with open(source, encoding="utf-8") as file:
        write_if_changed(output, stripped(output, file.read()))


if __name__ == "__main__":
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    main(*sys.argv[1:])
