#!/usr/bin/env bash
# Writes this tree's files as a tar archive to standard output: in a git
# checkout the files of its last commit (git archive HEAD; uncommitted changes
# are left out, with a warning), in an unpacked release tarball every file but
# what .gitignore names (builds, dist/). A copy of the tree for a clean root or
# a release tarball is made from this, and from nothing else.
#
#   scripts/tree.sh [--prefix DIR/]
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)

prefix=
if [ "${1-}" = --prefix ] && [ -n "${2-}" ]; then
    prefix=$2
    shift 2
fi
[ $# -eq 0 ] || { echo "usage: scripts/tree.sh [--prefix DIR/]" >&2; exit 2; }

# A checkout of this project, not a tarball unpacked inside some other repository.
if command -v git >/dev/null && [ "$(git -C "$top" rev-parse --show-toplevel 2>/dev/null)" = "$top" ]; then
    if [ -n "$(git -C "$top" status --porcelain)" ]; then
        echo "tree.sh: warning: uncommitted changes are left out; the copy gets HEAD:" >&2
        git -C "$top" status --short >&2
    fi
    exec git -C "$top" archive --prefix="$prefix" HEAD
fi

# Sorted, owned by no one and dated by the changelog's last entry, as git
# archive's are by the commit: the same tree gives the same archive.
date=$(sed -n 's/^ -- .*>  //p' "$top/debian/changelog" | head -n 1)
transform=()
[ -z "$prefix" ] || transform=(--transform "s,^\\.,${prefix%/},")
# tar reads .gitignore's plain patterns itself, but not those anchored to the
# top ("/build*/"): these become tar's anchored patterns.
anchored=()
while read -r pattern; do
    pattern=${pattern%/}
    anchored+=("--exclude=./${pattern#/}")
done < <(grep '^/' "$top/.gitignore")
exec tar -C "$top" -c --sort=name --owner=0 --group=0 --numeric-owner --mode=go-w --mtime="$date" \
    "${transform[@]}" --exclude-vcs-ignores --anchored "${anchored[@]}" .
