#!/usr/bin/env bash
# The game as a Debian user gets it, by hand on this system: builds the package
# for this release (scripts/package.sh, or takes the .deb given), installs it
# with apt-get, runs the checks of tests/package/installed_checks.sh (what
# Debian's test runner runs, debian/tests/control), then purges the package and
# checks that none of its own files remain (the dependencies apt installed with
# it stay, as they do for a player). Needs root. Whatever happens, the package
# is purged. CI runs the same checks through autopkgtest in clean roots.
#
#   tests/package/installed_test.sh [DEB]
set -euo pipefail
cd "$(dirname "$0")/../.."

. tests/package/steps.sh

[ "$(id -u)" -eq 0 ] || fail "installed_test.sh installs a system package: run it as root"
apt=(apt-get -o DPkg::Lock::Timeout=300 -y -q)
package_state() { dpkg-query -W -f='${db:Status-Status}' bul-pgia 2>/dev/null || true; }
# A bul-pgia installed by someone else is left alone rather than purged.
case $(package_state) in
    "" | not-installed) ;;
    *) fail "bul-pgia is on this system already ($(package_state)); purge it first: apt-get purge bul-pgia" ;;
esac

deb=${1:-}
if [ -z "$deb" ]; then
    step "package build (scripts/package.sh)" scripts/package.sh
    release=$(. /etc/os-release && echo "$VERSION_CODENAME")
    deb=$(ls "dist/$release"/bul-pgia_*_"$(dpkg --print-architecture)".deb)
fi
[ -f "$deb" ] || fail "no package at $deb"

purge() {
    case $(package_state) in
        "" | not-installed) ;;
        *) DEBIAN_FRONTEND=noninteractive "${apt[@]}" purge bul-pgia >/dev/null ;;
    esac
}
trap purge EXIT
trap 'exit 129' HUP
trap 'exit 130' INT
trap 'exit 143' TERM

# Recommends are left out: the test adds nothing to the system but the package.
install_package() {
    DEBIAN_FRONTEND=noninteractive "${apt[@]}" install --no-install-recommends \
        "$(realpath "$deb")" >/dev/null
}
step install install_package
# The private X server and the tools that find and close the window; after the
# package, so that they cannot stand in for a dependency it lacks.
step "test tools" scripts/install-deps.sh desktop >/dev/null
mapfile -t files < <(dpkg -L bul-pgia)

failures=0
tests/package/installed_checks.sh || failures=$((failures + 1))

step purge purge
left=()
for file in "${files[@]}"; do
    # Shared folders (/usr/games, /usr/share/...) stay; the package's own go.
    if { [ -e "$file" ] || [ -L "$file" ]; } && { [ ! -d "$file" ] || [[ $file == *bul-pgia* ]]; }; then
        left+=("$file")
    fi
done
if [ ${#left[@]} -ne 0 ]; then
    echo "FAIL left after the purge: ${left[*]}" >&2
    failures=$((failures + 1))
fi

[ "$failures" -eq 0 ] || exit 1
echo "installed_test: the installed package passes its checks, and the purge leaves none of its files"
