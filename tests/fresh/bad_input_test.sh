#!/usr/bin/env bash
# tests/fresh/run.sh given what it cannot use: each case ends with one line
# naming the cause and a non-zero status, and leaves no root and no mount
# behind. Needs root (the cases that get as far as making a root), as CI has.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

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

case_ "unknown release" 'unknown release "forky"' "$here/run.sh" forky true
case_ "no mmdebstrap" "mmdebstrap is missing" env PATH="$work/path" "$here/run.sh" bookworm true
case_ "no disk space" "not enough free disk space" env FRESH_MIN_FREE_GB=1000000 "$here/run.sh" bookworm true
# No network at all: apt's sources cannot be reached.
case_ "unreachable sources" "apt cannot reach the sources of bookworm" \
    unshare --net "$here/run.sh" bookworm true

# A command that fails in a root: its last 30 lines, then the line naming it.
status=0
FRESH_WORK_DIR=$work/roots "$here/run.sh" bookworm 'seq 100; false' >"$work/out" 2>&1 || status=$?
if [ "$status" -eq 0 ] || [ "$(grep -cx '[0-9]*' "$work/out")" -ne 30 ] || ! grep -qx 71 "$work/out" ||
    ! tail -n 1 "$work/out" | grep -q "failed after .*: seq 100; false"; then
    fail "a failing command" "status $status, expected lines 71 to 100 and the command, got:"
elif left_behind; then
    fail "a failing command" "a root or a mount stayed behind"
else
    echo "ok a failing command: its last 30 lines, then: $(tail -n 1 "$work/out")"
fi
exit $((failures > 0))
