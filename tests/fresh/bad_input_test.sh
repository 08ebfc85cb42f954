#!/usr/bin/env bash
# tests/fresh/run.sh given what it cannot use: each case ends with one line
# naming the cause and a non-zero status, and leaves no root and no mount
# behind. Needs root (the cases that get as far as making a root), as CI has.
# The roots go to /var/tmp, as run.sh's do: /tmp may be a small tmpfs (it is on
# Debian 13), where a root has no room.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d /var/tmp/bul-pgia-bad-input.XXXXXX)
trap 'rm -rf --one-file-system "$work"' EXIT
trap 'exit 143' TERM INT

# A PATH with every program of this machine but mmdebstrap.
mkdir "$work/path"
for program in /usr/bin/* /usr/sbin/*; do
    [ "${program##*/}" = mmdebstrap ] || ln -sf "$program" "$work/path/" 2>/dev/null || true
done

failures=0
# fail NAME WHY: counts a failed case, with the output it gave.
fail() {
    echo "FAIL $1: $2" >&2
    cat "$work/out" >&2
    failures=$((failures + 1))
}
# left_behind: whether a run left a root or a mount under $work.
left_behind() {
    [ -n "$(ls -A "$work/roots")" ] || findmnt -rn -o TARGET | grep -qF "$work"
}

# case NAME EXPECTED-LINE COMMAND...: runs COMMAND with its roots made in $work/roots.
case_() {
    local name=$1 expected=$2 status=0
    shift 2
    mkdir -p "$work/roots"
    FRESH_WORK_DIR=$work/roots "$@" >"$work/out" 2>&1 || status=$?
    local lines
    lines=$(grep -c . "$work/out" || true)
    if [ "$status" -eq 0 ] || [ "$lines" -ne 1 ] || ! grep -q -- "$expected" "$work/out"; then
        fail "$name" "status $status, expected one line with \"$expected\", got:"
    elif left_behind; then
        fail "$name" "a root or a mount stayed behind"
    else
        echo "ok $name: $(cat "$work/out")"
    fi
}

usage="usage: tests/fresh/run.sh"
case_ "--in without its file" "$usage" "$here/run.sh" --in
case_ "--in before another option" "$usage" "$here/run.sh" --in --out r "$work/kept" bookworm true
case_ "--out without its folders" "$usage" "$here/run.sh" --out
case_ "--out without its DIR" "$usage" "$here/run.sh" --out r
case_ "--out and no release" "$usage" "$here/run.sh" --out r "$work/kept"
case_ "an unknown option" "$usage" "$here/run.sh" --inn file bookworm true
case_ "a missing --in file" "no file $work/none to copy in" "$here/run.sh" --in "$work/none" bookworm true
case_ "unknown release" 'unknown release "forky"' "$here/run.sh" forky true
case_ "no mmdebstrap" "mmdebstrap is missing" env PATH="$work/path" "$here/run.sh" bookworm true
case_ "no disk space" "not enough free disk space" env FRESH_MIN_FREE_GB=1000000 "$here/run.sh" bookworm true
# No network at all: apt's sources cannot be reached.
case_ "unreachable sources" "apt cannot reach the sources of bookworm" \
    unshare --net "$here/run.sh" bookworm true

# A command that fails in a root: its last 30 lines, then the line naming it
# and where its evidence went: the report it made and the whole log, every
# command's output, copied back to the --out folder.
status=0
command='mkdir r && echo made >r/checks.txt && seq 100; false'
FRESH_WORK_DIR=$work/roots "$here/run.sh" --out r "$work/kept" bookworm 'echo first' "$command" \
    >"$work/out" 2>&1 || status=$?
last=$(tail -n 1 "$work/out")
if [ "$status" -eq 0 ] || [ "$(grep -cx '[0-9]*' "$work/out")" -ne 30 ] || ! grep -qx 71 "$work/out" ||
    [[ $last != *"failed after "*": $command (its last 30 lines above; the whole log and the reports: $work/kept/)" ]]; then
    fail "a failing command" "status $status, expected lines 71 to 100, the command and $work/kept/, got:"
elif [ "$(cat "$work/kept/checks.txt" 2>/dev/null)" != made ] ||
    ! grep -qx first "$work/kept/fresh.log" || ! grep -qx 1 "$work/kept/fresh.log"; then
    fail "a failing command" "$work/kept/ lacks the report or the whole log (first, 1 to 100):"
elif left_behind; then
    fail "a failing command" "a root or a mount stayed behind"
else
    echo "ok a failing command: its last 30 lines, then: $last"
fi
exit $((failures > 0))
