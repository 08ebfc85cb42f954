#!/usr/bin/env bash
# Installs what the tests need, builds the game and its web page, and runs
# every test: the C++ tests through CTest, then the scenarios that play the
# window and the page from outside through pytest (tests/pytest.ini), with one
# summary of both at the end. Fails when anything fails.
#
#   scripts/test.sh                    everything
#   scripts/test.sh --fast             the game's build and its fast C++ tests (seconds)
#   scripts/test.sh --c++              the C++ tests only
#   scripts/test.sh --scenarios        the scenarios only
#   scripts/test.sh ... -- ARGS        pytest's own arguments for the scenarios:
#                                      a file (web/test_play.py), -k NAME, -m "not webkit"
#
# Each scenario starts its own servers and desktop; none uses the caller's.
set -euo pipefail
cd "$(dirname "$0")/.."
top=$(pwd)

cxx=1 scenarios=1 fast=
while [ $# -gt 0 ]; do
    case $1 in
        --fast) fast=1 scenarios= ;;
        --c++) scenarios= ;;
        --scenarios) cxx= ;;
        --) shift; break ;;
        *) echo "usage: scripts/test.sh [--fast | --c++ | --scenarios] [-- PYTEST ARGUMENT...]" >&2
           exit 2 ;;
    esac
    shift
done

groups=(play test)
[ -n "$fast" ] || groups+=(web)
scripts/install-deps.sh "${groups[@]}"
page=
if [ -z "$fast" ]; then
    page=$(scripts/web.sh | tail -n 1)
fi
scripts/build.sh

summary=()
failed=0
# run NAME COMMAND...: runs one half and notes its outcome for the summary.
run() {
    local name=$1 started=$SECONDS status=0
    shift
    "$@" || status=$?
    summary+=("$name: $([ "$status" -eq 0 ] && echo passed || echo "FAILED (status $status)"), $((SECONDS - started)) s")
    [ "$status" -eq 0 ] || failed=1
}

if [ -n "$fast" ]; then
    run "fast C++ tests (CTest -L fast)" ctest --test-dir build --output-on-failure -j "$(nproc)" -L fast
elif [ -n "$cxx" ]; then
    run "C++ tests (CTest)" ctest --test-dir build --output-on-failure -j "$(nproc)"
elif [ ! -d build/tests/window/artefacts ]; then
    # The page is compared with the window's own screenshots.
    run "the window's screenshots (CTest)" ctest --test-dir build --output-on-failure -R '^screenshot_tests$'
fi
# run_scenarios ARGS...: pytest over tests/, two workers, with the scenarios that
# listen to Orca kept to one of them.
run_scenarios() {
    (cd tests && /usr/bin/python3 -m pytest -n "$(nproc)" --dist loadgroup \
        --build="$top/build" --page="$page" "$@")
}
if [ -n "$scenarios" ]; then
    run "scenarios (pytest)" run_scenarios "$@"
fi

echo "=== test.sh"
printf '%s\n' "${summary[@]}"
exit "$failed"
