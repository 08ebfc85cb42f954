#!/usr/bin/env bash
# Builds the fuzzer with clang (fuzz/, a project of its own) and runs it for a
# bounded time on a copy of the seed corpus. Usage: scripts/fuzz.sh [seconds]
# (default 60). A crash or a broken invariant fails the run; the input that
# caused it is kept in build-fuzz/crashes/ for replay: build-fuzz/play_fuzzer FILE.
set -euo pipefail

seconds=${1:-60}
root=$(cd "$(dirname "$0")/.." && pwd)
build=${FUZZ_BUILD_DIR:-$root/build-fuzz}

cmake -S "$root/fuzz" -B "$build" -G Ninja -DCMAKE_CXX_COMPILER=clang++ >/dev/null
ninja -C "$build" -j2

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp -r "$root/fuzz/corpus" "$work/corpus"
mkdir "$work/artifacts"

export ASAN_OPTIONS=abort_on_error=1:detect_leaks=1
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
status=0
"$build/play_fuzzer" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
    -artifact_prefix="$work/artifacts/" -print_final_stats=1 "$work/corpus" \
    >"$work/log" 2>&1 || status=$?

if [ "$status" -ne 0 ] || [ -n "$(ls -A "$work/artifacts")" ]; then
    grep -E 'broken invariant|ERROR|SUMMARY|runtime error' "$work/log" || tail -40 "$work/log"
    mkdir -p "$build/crashes"
    cp "$work"/artifacts/* "$build/crashes/" 2>/dev/null || true
    echo "fuzz: FAILED (exit $status); inputs kept in $build/crashes/" >&2
    exit 1
fi
grep -E '^(Done|stat::)' "$work/log"
echo "fuzz: no crash and no broken invariant in ${seconds} s ($(ls "$work/corpus" | wc -l) inputs in the corpus at the end)"
