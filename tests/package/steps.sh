# The installed tests' two helpers, sourced by installed_checks.sh and
# installed_test.sh.

# fail WHY: ends the test with its cause.
fail() {
    echo "FAIL $*" >&2
    exit 1
}

# step NAME COMMAND...: runs the command and reports its time, for CI's budget.
step() {
    local name=$1 started=$SECONDS status=0
    shift
    "$@" || status=$?
    echo "--- $name: $((SECONDS - started)) s"
    return "$status"
}
