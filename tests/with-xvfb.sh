#!/usr/bin/env bash
# Runs a command against a private X server: with-xvfb.sh CMD [ARG...]
# Starts Xvfb on a free display (1024x768, 24 bits, or XVFB_SCREEN given as
# WIDTHxHEIGHTxDEPTH; no TCP), gives the command DISPLAY, a fresh private
# XDG_RUNTIME_DIR, its own session bus and a UTF-8 locale, and tears
# everything down on any exit. The exit status is the command's.
set -euo pipefail

if [ $# -eq 0 ]; then
    echo "usage: $0 COMMAND [ARG...]" >&2
    exit 2
fi

workdir=$(mktemp -d "${TMPDIR:-/tmp}/with-xvfb.XXXXXX")
xvfb_pid=

# The processes, other than this script, that hold its output pipes open for
# writing. CTest waits for the pipes to close, so a process the command left
# running would hold the test until CTest's timeout and say nothing of itself.
output_writers() {
    local pipes link target pid fd flags
    pipes=" $(readlink /proc/$$/fd/1) $(readlink /proc/$$/fd/2) "
    find /proc/[0-9]*/fd -type l -printf '%p %l\n' >"$workdir/links" 2>/dev/null || true
    while read -r link target; do
        [[ $target == pipe:* && $pipes == *" $target "* ]] || continue
        pid=${link#/proc/} fd=${link##*/}
        pid=${pid%%/*}
        [ "$pid" != $$ ] || continue
        flags=$(awk '$1 == "flags:" {print $2}' "/proc/$pid/fdinfo/$fd" 2>/dev/null) || continue
        [ -n "$flags" ] && (((8#$flags & 3) != 0)) && echo "$pid"
    done <"$workdir/links" | sort -u
}

# Whether any of the processes runs: a zombie has ended.
alive() {
    local pid state
    for pid in "$@"; do
        state=$(awk '{print $3}' "/proc/$pid/stat" 2>/dev/null) || continue
        [ -z "$state" ] || [ "$state" = Z ] || return 0
    done
    return 1
}

# ends WHAT PID...: waits up to ten seconds for the processes to end by
# themselves; names and kills those that do not, and says so by its status.
ends() {
    local what=$1
    shift
    local tries=50 pid
    while [ $tries -gt 0 ] && alive "$@"; do
        sleep 0.2
        tries=$((tries - 1))
    done
    local lasting=0
    for pid in "$@"; do
        if alive "$pid"; then
            echo "with-xvfb.sh: $what still running after 10 s, killed: $pid $(tr '\0' ' ' </proc/"$pid"/cmdline 2>/dev/null)" >&2
            kill -KILL "$pid" 2>/dev/null || true
            lasting=1
        fi
    done
    return $lasting
}

cleanup() {
    local status=$? failed=0
    if [ -n "$xvfb_pid" ]; then
        kill "$xvfb_pid" 2>/dev/null || true
        ends "Xvfb, sent TERM," "$xvfb_pid" || failed=1
        wait "$xvfb_pid" 2>/dev/null || true
    fi
    local writers
    mapfile -t writers < <(output_writers 2>/dev/null)
    [ ${#writers[@]} -eq 0 ] || ends "a process left by the command, holding its output," "${writers[@]}" ||
        failed=1
    rm -rf "$workdir"
    [ $failed -eq 0 ] || [ $status -ne 0 ] || exit 1
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

# Xvfb picks a free display itself and writes its number to the fd we give it.
mkfifo "$workdir/displayfd"
Xvfb -displayfd 3 -screen 0 "${XVFB_SCREEN:-1024x768x24}" -nolisten tcp -nolisten unix-abstract 3>"$workdir/displayfd" \
    >"$workdir/xvfb.log" 2>&1 &
xvfb_pid=$!
display=
if ! read -r -t 30 display <"$workdir/displayfd" || [ -z "$display" ]; then
    echo "with-xvfb.sh: Xvfb did not start:" >&2
    cat "$workdir/xvfb.log" >&2
    exit 1
fi

mkdir -m 0700 "$workdir/runtime"
export DISPLAY=":$display"
export XDG_RUNTIME_DIR="$workdir/runtime"
unset WAYLAND_DISPLAY
export XDG_SESSION_TYPE=x11
# A UTF-8 locale whatever the caller's, as a desktop session has and the private
# desktops of the end-to-end tests set: xprop prints the Hebrew title escaped
# in the C locale a bare login gets.
export LANG=C.UTF-8 LC_ALL=C.UTF-8

status=0
dbus-run-session -- "$@" || status=$?
exit "$status"
