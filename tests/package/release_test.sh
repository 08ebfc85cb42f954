#!/usr/bin/env bash
# The release is one, wherever it is made: scripts/release.sh run in a clean
# checkout of this tree's last commit, and run again in that commit's own
# git archive tarball, unpacked three days later (faketime), under another
# umask and time zone and, when run as root, as another user, gives the same
# bytes in every file. A file that differs is named with its first differing
# member. Also: uncommitted changes are warned of and left out, and a tree
# that is neither a checkout nor a release is refused in one line.
#
#   tests/package/release_test.sh
set -euo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)

failures=0
fail() {
    echo "FAIL $*" >&2
    failures=$((failures + 1))
}

"$top/scripts/install-deps.sh" release reproducible
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
chmod 755 "$work"
commit=$(git -C "$top" rev-parse HEAD)

# From a checkout, as the developer makes it.
git clone -q --no-checkout "$top" "$work/checkout"
git -C "$work/checkout" checkout -q "$commit"
(cd "$work/checkout" && umask 022 && scripts/release.sh --out "$work/from-checkout" >/dev/null)

# From the commit's tarball, as a packager who holds only that makes it.
others=()
if [ "$(id -u)" -eq 0 ]; then
    others=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
fi
mkdir "$work/packager"
git -C "$top" archive --prefix=bul-pgia/ "$commit" | (umask 077 && tar -x -C "$work/packager")
chmod -R a+rX "$work/packager"
chown -R nobody:nogroup "$work/packager" 2>/dev/null || true
(cd "$work/packager/bul-pgia" && umask 002 &&
    "${others[@]}" env TZ=Pacific/Kiritimati LC_ALL=C.UTF-8 faketime -f +3d \
        scripts/release.sh --out "$work/packager/release" >/dev/null)

compare() {
    local a=$1 b=$2 file
    for file in "$a"/*; do
        if [ ! -f "$b/${file##*/}" ]; then
            fail "${file##*/} is made only in $a"
        elif ! "$top/tests/package/first_difference.py" "$file" "$b/${file##*/}"; then
            fail "${file##*/} differs (above)"
        fi
    done
    [ "$(ls "$a")" = "$(ls "$b")" ] || fail "the two make different files: $(ls "$a") / $(ls "$b")"
}
compare "$work/from-checkout" "$work/packager/release"

# An uncommitted change: warned of, and the release is still the commit's.
echo "an uncommitted line" >>"$work/checkout/README.md"
(cd "$work/checkout" && scripts/release.sh --out "$work/dirty" >/dev/null 2>"$work/dirty.err")
grep -q "warning: uncommitted changes are left out" "$work/dirty.err" ||
    fail "no warning of the uncommitted change: $(cat "$work/dirty.err")"
compare "$work/from-checkout" "$work/dirty"

# Neither a checkout nor a release: the scripts alone, copied out.
mkdir "$work/neither"
cp -r "$work/checkout/scripts" "$work/neither/"
status=0
"$work/neither/scripts/release.sh" --out "$work/neither/out" >/dev/null 2>"$work/neither.err" || status=$?
[ "$status" -ne 0 ] || fail "release.sh made a release of a folder that holds only the scripts"
[ "$(wc -l <"$work/neither.err")" -eq 1 ] && grep -q "neither a git checkout" "$work/neither.err" ||
    fail "release.sh outside a tree did not say so in one line: $(cat "$work/neither.err")"

[ "$failures" -eq 0 ] || exit 1
echo "release_test: the release of $commit is byte-identical from its checkout and from its tarball" \
    "($(ls "$work/from-checkout" | wc -l) files); an uncommitted change is warned of and left out;" \
    "a folder with only the scripts is refused in one line"
