#!/usr/bin/env bash
# The quality checks beyond the tests: the whole suite under ASan and UBSan,
# a bounded fuzzing run, and clang-tidy. Runs all three, reports each, and
# fails if any failed. Usage: scripts/quality.sh [fuzz seconds, default 60]
set -uo pipefail

here=$(cd "$(dirname "$0")" && pwd)
fuzz_seconds=${1:-60}
failed=()

# The whole suite runs again under the sanitizers: it needs the test tools too;
# clang-tidy reads web/ as em++ compiles it.
"$here/install-deps.sh" play test web quality || exit 1

run() {
    local name=$1
    shift
    echo "=== $name"
    if "$@"; then
        echo "=== $name: passed"
    else
        echo "=== $name: FAILED"
        failed+=("$name")
    fi
}

run sanitizers "$here/sanitize.sh"
run fuzz "$here/fuzz.sh" "$fuzz_seconds"
run clang-tidy "$here/tidy.sh"

if [ ${#failed[@]} -ne 0 ]; then
    echo "quality: FAILED: ${failed[*]}" >&2
    exit 1
fi
echo "quality: sanitizers, fuzz and clang-tidy passed"
