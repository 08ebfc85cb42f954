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
cleanup() {
    if [ -n "$xvfb_pid" ]; then
        kill "$xvfb_pid" 2>/dev/null || true
        wait "$xvfb_pid" 2>/dev/null || true
    fi
    rm -rf "$workdir"
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
