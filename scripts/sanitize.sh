#!/usr/bin/env bash
# Builds everything with AddressSanitizer and UndefinedBehaviorSanitizer in
# build-asan/ and runs the whole test suite under them, widget tests included.
# Any report fails the run: ASan and LSan abort, UBSan halts at its first
# finding. The leaks not counted are Qt's and Mesa's own, on Wayland
# (scripts/leak_suppressions.txt says which and why).
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build-asan}

# intercept_tls_get_addr=0: with Debian 12's glibc, g++ 12's sanitizer runtime
# misreads the dynamic TLS of a library loaded by dlopen (Qt's image plugins)
# and its leak checker crashes at exit; without that tracking it scans the
# threads' static TLS and stacks only.
# fast_unwind_on_malloc=0: the frame-pointer unwinder stops at the first
# library built without frame pointers, and a leak whose library is unloaded
# before the check (Mesa's driver on Wayland) then keeps no frame a
# suppression can name; the full unwinder keeps the whole stack, at about
# twice the run's time.
export ASAN_OPTIONS=abort_on_error=1:detect_leaks=1:detect_stack_use_after_return=1:check_initialization_order=1:strict_init_order=1:intercept_tls_get_addr=0:fast_unwind_on_malloc=0
export UBSAN_OPTIONS=halt_on_error=1:abort_on_error=1:print_stacktrace=1
export LSAN_OPTIONS=suppressions=$root/scripts/leak_suppressions.txt:print_suppressions=0

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug \
    -DBUL_PGIA_SANITIZE=ON -DBUL_PGIA_BENCH=OFF -DBUILD_TESTING=ON >/dev/null
# The test discovery runs the test programs while building, already sanitized.
ninja -C "$build" -j2

# Tests that need an X server start their own Xvfb, as in the plain run.
# A test that hangs (a modal box nobody closes) fails instead of stalling CI.
ctest --test-dir "$build" --output-on-failure -j2 --timeout 300

# The window's scenarios (pytest) play the sanitized program in their own
# desktops; the sanitizers' settings above reach it through the environment.
cd "$root/tests"
/usr/bin/python3 -m pytest -n 2 --dist loadgroup --build="$build" e2e
