#!/usr/bin/env bash
# Writes this tree's files as a tar archive to standard output: in a git
# checkout the files of its last commit (uncommitted changes are left out,
# with a warning), in an unpacked release tarball every file but what
# .gitignore names (builds, dist/). A copy of the tree for a clean root or a
# release tarball is made from this, and from nothing else.
#
#   scripts/tree.sh [--prefix DIR/]
#
# The archive is the same, byte for byte, from a checkout of a commit and from
# that commit's unpacked tarball, whoever makes it, under whatever umask, on
# whatever day: names sorted, owners 0/0 with no names, modes 0644 and 0755,
# and every member dated by the commit. Without git, the commit's time is read
# from scripts/commit-time, which git archive fills in (export-subst in
# .gitattributes); in a tree that no git archive made, the changelog's last
# entry dates it.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)

fail() {
    echo "tree.sh: $*" >&2
    exit 1
}

prefix=
if [ "${1-}" = --prefix ] && [ -n "${2-}" ]; then
    prefix=$2
    shift 2
fi
[ $# -eq 0 ] || { echo "usage: scripts/tree.sh [--prefix DIR/]" >&2; exit 2; }

# archive DIR EPOCH: DIR's files as this project's archive of them.
archive() {
    local dir=$1 epoch=$2 pattern
    local transform=()
    # Symbolic links' targets keep their own names (flag S).
    [ -z "$prefix" ] || transform=(--transform "s,^\\.,${prefix%/},S")
    # tar reads .gitignore's plain patterns itself, but not those anchored to
    # the top ("/build*/"): these become tar's anchored patterns.
    local anchored=()
    while read -r pattern; do
        pattern=${pattern%/}
        anchored+=("--exclude=./${pattern#/}")
    done < <(grep '^/' "$dir/.gitignore")
    tar -C "$dir" -c --format=gnu --sort=name --owner=0 --group=0 --numeric-owner \
        --mode=a+rX,u+w,go-w --mtime="@$epoch" --hard-dereference \
        "${transform[@]}" --exclude-vcs-ignores --anchored "${anchored[@]}" .
}

# A checkout of this project, not a tarball unpacked inside some other repository.
if command -v git >/dev/null && [ "$(git -C "$top" rev-parse --show-toplevel 2>/dev/null)" = "$top" ]; then
    if [ -n "$(git -C "$top" status --porcelain)" ]; then
        echo "tree.sh: warning: uncommitted changes are left out; the copy gets HEAD:" >&2
        git -C "$top" status --short >&2
    fi
    # git archive's own members carry the umask of git's settings and owner
    # names: its files are archived again the one way.
    scratch=$(mktemp -d)
    trap 'rm -rf "$scratch"' EXIT
    git -C "$top" archive HEAD | tar -x -C "$scratch" --no-same-owner
    archive "$scratch" "$(git -C "$top" log -1 --format=%ct HEAD)"
    exit
fi

[ ! -e "$top/.git" ] || fail "$top is a git checkout, and git is missing (apt-get install git)"
# An unpacked release has the changelog and the tree scripts of a checkout.
if [ ! -f "$top/debian/changelog" ] || [ ! -f "$top/.gitignore" ] || [ ! -f "$top/scripts/commit-time" ]; then
    fail "$top is neither a git checkout of bul-pgia nor an unpacked release of it"
fi
epoch=$(tr -d '[:space:]' <"$top/scripts/commit-time")
if ! [[ $epoch =~ ^[0-9]+$ ]]; then
    epoch=$(date -d "$(sed -n 's/^ -- .*>  //p' "$top/debian/changelog" | head -n 1)" +%s)
fi
archive "$top" "$epoch"
