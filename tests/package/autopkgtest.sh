#!/usr/bin/env bash
# Debian's test runner on built packages, as Debian's CI runs it: in one clean
# root of SUITE (tests/fresh/run.sh), autopkgtest installs each DEB in turn
# with the dependencies of its tests (debian/tests/control of this tree) and
# runs them there (virt server null: the root is the testbed, thrown away
# after); the package is purged, with what came for it, before the next. The
# runner's logs go to DIR/autopkgtest-SUITE/, DIR being the first DEB's
# folder. Needs root.
#
#   tests/package/autopkgtest.sh SUITE DEB...
set -euo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)

fail() {
    echo "autopkgtest.sh: $*" >&2
    exit 1
}

[ $# -ge 2 ] || fail "usage: tests/package/autopkgtest.sh SUITE DEB..."
suite=$1
shift
ins=()
commands=("sudo scripts/install-deps.sh autopkgtest >/dev/null")
for deb in "$@"; do
    [ -f "$deb" ] || fail "no package $deb"
    name=${deb##*/}
    ins+=(--in "$deb")
    [ ${#commands[@]} -eq 1 ] ||
        commands+=("sudo env DEBIAN_FRONTEND=noninteractive apt-get purge -y -qq --autoremove bul-pgia >/dev/null")
    commands+=("sudo autopkgtest --output-dir dist/autopkgtest/${name%.deb} ~/in/$name ./ -- null")
done
out=$(cd "$(dirname "$1")" && pwd)/autopkgtest-$suite
rm -rf "$out"
"$top/tests/fresh/run.sh" "${ins[@]}" --out dist/autopkgtest "$out" "$suite" "${commands[@]}" ||
    fail "autopkgtest failed in $suite (above); its logs: $out/"
echo "autopkgtest.sh: the tests of debian/tests/control pass in $suite for: $*; logs in $out/"
