#!/usr/bin/python3
"""Says where two files that should be byte-identical first differ.

    first_difference.py FILE_A FILE_B

For two tar archives (compressed or not): the first member, in archive order,
whose name, type, mode, owner, time, size, link target or contents differ, or
the first member one has and the other lacks. For other files: the first line
that differs. Exits 0 when the files are identical, 1 otherwise.
"""
import hashlib
import itertools
import sys
import tarfile

_FIELDS = ("name", "type", "mode", "uid", "gid", "uname", "gname", "mtime", "size", "linkname")


def _members(path):
    with tarfile.open(path) as archive:
        for member in archive:
            fields = {field: getattr(member, field) for field in _FIELDS}
            data = archive.extractfile(member) if member.isfile() else None
            fields["contents"] = hashlib.sha256(data.read()).hexdigest() if data else ""
            yield fields


def _tar_difference(path_a, path_b):
    for a, b in itertools.zip_longest(_members(path_a), _members(path_b)):
        if a is None or b is None:
            there = a or b
            return f"member {there['name']} is only in {path_a if a else path_b}"
        for field in _FIELDS + ("contents",):
            if a[field] != b[field]:
                shown = (oct(a[field]), oct(b[field])) if field == "mode" else (a[field], b[field])
                return f"member {a['name']}: {field} {shown[0]!r} != {shown[1]!r}"
    return "the archives' members are the same, their compressed bytes are not"


def _line_difference(path_a, path_b):
    with open(path_a, "rb") as file_a, open(path_b, "rb") as file_b:
        lines = itertools.zip_longest(file_a, file_b)
        for number, (a, b) in enumerate(lines, start=1):
            if a != b:
                return f"line {number}: {a!r} != {b!r}"
    return "no line differs"


def main(path_a, path_b):
    with open(path_a, "rb") as file_a, open(path_b, "rb") as file_b:
        if file_a.read() == file_b.read():
            return 0
    both_tar = tarfile.is_tarfile(path_a) and tarfile.is_tarfile(path_b)
    where = _tar_difference(path_a, path_b) if both_tar else _line_difference(path_a, path_b)
    print(f"{path_a} and {path_b} differ: {where}")
    return 1


if __name__ == "__main__":
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    sys.exit(main(sys.argv[1], sys.argv[2]))
