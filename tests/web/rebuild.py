"""A built page's folder made into another build, as the build makes one: files
changed, then the service worker's list and the compressed copies remade."""
import os
import re
import sys
import tempfile

WEB = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "web")


def generators():
    """web/generate/'s precache.py and compress.py, which a test runs on a
    folder it changes, as the build does after every change."""
    sys.path.insert(0, os.path.join(WEB, "generate"))
    import compress
    import precache
    return precache, compress


def rebuild(folder, changes):
    """Makes `folder` another build: each (file, old, new) of `changes`
    replaced in it, then the worker's list and the compressed copies remade.
    The worker stays the built one, whose install is under test: its list
    is taken out and written anew."""
    precache, compress = generators()
    for name, old, new in changes:
        with open(os.path.join(folder, name), "r+", encoding="utf-8") as file:
            text = file.read()
            assert old in text, f"no {old!r} in {name}"
            file.seek(0)
            file.write(text.replace(old, new))
    worker = os.path.join(folder, "service-worker.js")
    with open(worker, encoding="utf-8") as file:
        template, listed = re.subn(r"^const PRECACHE = \{\n.*?\n\};$",
                                   f"const PRECACHE = {precache.PLACEHOLDER};", file.read(),
                                   flags=re.DOTALL | re.MULTILINE)
    assert listed == 1, f"no list of files in {worker}"
    with tempfile.TemporaryDirectory() as scratch:
        with open(os.path.join(scratch, "service-worker.js"), "w", encoding="utf-8") as file:
            file.write(template)
        precache.main(folder, file.name)
    compress.main(folder)


def another_version(folder):
    """Makes `folder` another build of the same worker: the same files under
    another version, which names the worker's cache."""
    path = os.path.join(folder, "service-worker.js")
    with open(path, encoding="utf-8") as file:
        worker = file.read()
    versions = re.findall(r'"version": "([0-9a-f]+)"', worker)
    assert len(versions) == 1, f"no one version in {path}: {versions}"
    with open(path, "w", encoding="utf-8") as file:
        file.write(worker.replace(versions[0], versions[0][::-1]))
    generators()[1].main(folder)


def rebuild_one_file(folder, name, tail):
    """`name` changed (`tail` added) or gone (None) after the worker's list
    was made, its compressed copy as well."""
    if tail is None:
        os.remove(os.path.join(folder, name))
    else:
        with open(os.path.join(folder, name), "a", encoding="utf-8") as file:
            file.write(tail)
    generators()[1].main(folder)


