#!/usr/bin/env bash
# Builds everything with AddressSanitizer and UndefinedBehaviorSanitizer in
# build-asan/ and runs the whole test suite under them. Any report fails the run:
# ASan and LSan abort, UBSan halts at its first finding.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build-asan}

export ASAN_OPTIONS=abort_on_error=1:detect_leaks=1:detect_stack_use_after_return=1:check_initialization_order=1:strict_init_order=1:strict_string_checks=1
export UBSAN_OPTIONS=halt_on_error=1:abort_on_error=1:print_stacktrace=1
export LSAN_OPTIONS=suppressions=$root/scripts/lsan-suppressions.txt:print_suppressions=0

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug \
    -DBUL_PGIA_SANITIZE=ON -DBUL_PGIA_BENCH=OFF -DBUILD_TESTING=ON >/dev/null
# The test discovery runs the test programs while building, already sanitized.
ninja -C "$build" -j2

# Widget tests need a display; without one, start a private Xvfb for the run.
xvfb_pid=
stop_xvfb() { if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" 2>/dev/null || true; fi; }
trap stop_xvfb EXIT
if [ -z "${DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ] && command -v Xvfb >/dev/null; then
    fifo=$(mktemp -u)
    mkfifo "$fifo"
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
    xvfb_pid=$!
    read -r -t 10 number <"$fifo"
    rm -f "$fifo"
    export DISPLAY=":$number"
fi

# A test that hangs (a modal box nobody closes) fails instead of stalling CI.
ctest --test-dir "$build" --output-on-failure -j2 --timeout 300
