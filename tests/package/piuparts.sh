#!/usr/bin/env bash
# Debian's own installation test, piuparts, on a package in a clean root of
# its release: installed with its dependencies, removed and purged, and
# nothing of it may be left on the system. The root is an mmdebstrap tarball
# (minbase, the machine's apt sources moved to the release and its apt
# settings, as tests/fresh/run.sh makes its roots; kept a day beside the
# roots' packages), which piuparts unpacks as its base and whose sources it
# keeps. piuparts' whole log is kept beside the
# package as piuparts-SUITE.log. Needs root.
#
#   tests/package/piuparts.sh SUITE DEB
set -euo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
. "$top/tests/fresh/machine_apt.sh"

fail() {
    echo "piuparts.sh: $*" >&2
    exit 1
}

[ $# -eq 2 ] || fail "usage: tests/package/piuparts.sh SUITE DEB"
suite=$1
deb=$(realpath "$2")
[ -f "$deb" ] || fail "no package $2"
[ "$(id -u)" -eq 0 ] || fail "piuparts makes roots: run it as root"
"$top/scripts/install-deps.sh" piuparts

known=$(awk '!/^#/ {print $1}' "$top/scripts/releases" | tr '\n' ' ')
[[ " $known " == *" $suite "* ]] || fail "unknown release \"$suite\" (known: ${known% })"
ignores=()
case $suite in
    bookworm) ;;
    # piuparts 1.1.7 leaves debconf's own temporary folder in a trixie root
    # after every purge: Debian's hello fails the same way. Nothing of ours.
    trixie) ignores=(--ignore=/var/cache/debconf/tmp.ci/) ;;
esac

scratch=$(mktemp -d /var/tmp/bul-pgia-piuparts.XXXXXX)
trap 'rm -rf --one-file-system "$scratch"' EXIT
machine_aptconf "$scratch/apt.conf"
mkdir -p "$fresh_cache"
# The base starts with the packages the clean roots downloaded; the tarball
# keeps none. With eatmydata in it, as in piuparts' own bases, dpkg in the
# root skips its syncs: the root is thrown away. A base is made again after a
# day: piuparts upgrades it to the release's current packages anyway, so an
# older one would only be slower, never wrong.
base=$fresh_cache/piuparts-$suite.tar.gz
if [ -z "$(find "$base" -mtime -1 2>/dev/null)" ]; then
    mmdebstrap --variant=minbase --mode=root --include=eatmydata --aptopt="$scratch/apt.conf" \
        --skip=download/empty --setup-hook="$fresh_cache_hook" \
        "$suite" "$scratch/base.tar.gz" "$(machine_sources "$suite" "$scratch")" >"$scratch/mmdebstrap.log" 2>&1 ||
        { tail -n 30 "$scratch/mmdebstrap.log" >&2; fail "making the $suite base failed (above)"; }
    mv "$scratch/base.tar.gz" "$base"
fi

log=$(dirname "$deb")/piuparts-$suite.log
rm -f "$log"
status=0
piuparts --basetgz="$base" --keep-sources-list --distribution="$suite" \
    --tmpdir="$scratch" --log-file="$log" "${ignores[@]}" "$deb" >/dev/null 2>&1 || status=$?
chown --reference="$(dirname "$deb")" "$log"
if [ "$status" -ne 0 ]; then
    tail -n 30 "$log" >&2
    fail "piuparts failed on $deb in $suite (its last 30 lines above; the whole log: $log)"
fi
grep 'PASS: All tests' "$log"
