#!/usr/bin/env bash
# The program without a reachable display: one line on stderr, exit status 1,
# never Qt's abort (status 134) or a core dump.
#   no_display_test.sh PROGRAM                   no display at all, in many ways
#   no_display_test.sh --refused-after-check PROGRAM
#       under tests/with-xvfb.sh, whose X server stands behind a display that
#       admits the program's own check and refuses Qt's connection after it
set -uo pipefail

refused_after_check=false
if [ "${1:-}" = --refused-after-check ]; then
    refused_after_check=true
    shift
fi
program=$1
failures=0
workdir=$(mktemp -d)
trap 'rm -rf "$workdir"' EXIT

# check NAME ENV... : runs the program in a clean environment plus ENV.
check() {
    local name=$1
    shift
    local status=0
    env -i PATH="$PATH" HOME="$workdir" XDG_RUNTIME_DIR="$workdir" "$@" \
        timeout 20 "$program" >"$workdir/out" 2>"$workdir/err" </dev/null || status=$?
    local lines
    lines=$(wc -l <"$workdir/err")
    if [ "$status" -ne 1 ] || [ "$lines" -ne 1 ] || [ -s "$workdir/out" ] ||
        ! grep -q '^bul-pgia: ' "$workdir/err"; then
        echo "FAIL $name: status $status, $lines line(s) on stderr:" >&2
        cat "$workdir/err" >&2
        failures=$((failures + 1))
    else
        echo "ok   $name: $(cat "$workdir/err")"
    fi
}

refused_after_check() {
    if [ -z "${DISPLAY:-}" ]; then
        echo "FAIL: no X server to stand behind the refusing display (run under with-xvfb.sh)" >&2
        exit 1
    fi
    coproc refusing { exec /usr/bin/python3 "$(dirname "$0")/one_connection_display.py"; }
    local number=
    read -r -t 10 number <&"${refusing[0]}" || number=
    if [ -z "$number" ]; then
        echo "FAIL: the refusing display did not start" >&2
        failures=$((failures + 1))
    else
        check "the check admitted, Qt's own connection refused" DISPLAY=":$number"
    fi
    [ -z "${refusing_PID:-}" ] || kill "$refusing_PID" 2>/dev/null || true

    # A server that resets when its last client leaves: the check's connection
    # must stay open until Qt has its own, and the program then starts.
    coproc resetting { exec /usr/bin/python3 "$(dirname "$0")/one_connection_display.py" --resets; }
    number=
    read -r -t 10 number <&"${resetting[0]}" || number=
    local status=0
    env -i PATH="$PATH" HOME="$workdir" XDG_RUNTIME_DIR="$workdir" DISPLAY=":$number" \
        timeout 5 "$program" >"$workdir/out" 2>"$workdir/err" </dev/null || status=$?
    if [ -z "$number" ] || [ "$status" -ne 124 ]; then
        echo "FAIL a display that resets when its last client leaves: status $status, not still running:" >&2
        cat "$workdir/err" >&2
        failures=$((failures + 1))
    else
        echo "ok   a display that resets when its last client leaves: the program started"
    fi
    [ -z "${resetting_PID:-}" ] || kill "$resetting_PID" 2>/dev/null || true
}

if $refused_after_check; then
    refused_after_check
    exit $((failures > 0))
fi

check "no DISPLAY, default platform"
check "no DISPLAY, xcb asked for" QT_QPA_PLATFORM=xcb
check "no DISPLAY, xcb asked for with a plugin option" QT_QPA_PLATFORM=xcb:nograb
grep -q 'DISPLAY is not set' "$workdir/err" || {
    echo "FAIL: a plugin option hid the platform from the check" >&2
    failures=$((failures + 1))
}
check "a display nobody serves" DISPLAY=:64999
check "a Wayland session without a compositor" XDG_SESSION_TYPE=wayland WAYLAND_DISPLAY=wayland-77

# A socket left behind by a compositor that is gone: it exists, nobody listens.
/usr/bin/python3 -c 'import socket, sys; socket.socket(socket.AF_UNIX).bind(sys.argv[1])' \
    "$workdir/wayland-dead"
check "Wayland asked for, its socket dead" QT_QPA_PLATFORM=wayland WAYLAND_DISPLAY=wayland-dead
check "a dead Wayland socket by its path" QT_QPA_PLATFORM=wayland WAYLAND_DISPLAY="$workdir/wayland-dead"
check "a dead Wayland socket, then a dead X display" XDG_SESSION_TYPE=wayland \
    WAYLAND_DISPLAY=wayland-dead DISPLAY=:64999

exit $((failures > 0))
