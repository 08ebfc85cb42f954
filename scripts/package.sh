#!/usr/bin/env bash
# Builds the Debian package of this tree into dist/: installs the packaging
# tools (group "package" of install-deps.sh) and the build dependencies that
# debian/control names, runs dpkg-buildpackage, then fails on any lintian error
# or warning and checks the packaged program's hardening.
set -euo pipefail
cd "$(dirname "$0")/.."

fail() {
    echo "package.sh: $*" >&2
    exit 1
}

as_root() {
    if [ "$(id -u)" -eq 0 ]; then
        "$@"
    elif command -v sudo >/dev/null; then
        sudo "$@"
    else
        return 1
    fi
}

# Each tool with the package that brings it.
tools=(dpkg-buildpackage:dpkg-dev dh:debhelper lintian:lintian hardening-check:devscripts
       dcmd:devscripts)
scripts/install-deps.sh package || true
missing=()
for tool in "${tools[@]}"; do
    command -v "${tool%%:*}" >/dev/null || missing+=("${tool%%:*} (package ${tool#*:})")
done
[ ${#missing[@]} -eq 0 ] || fail "missing, and could not be installed: ${missing[*]}"

if ! dpkg-checkbuilddeps >/dev/null 2>&1; then
    echo "Installing the build dependencies of debian/control"
    as_root apt-get -o DPkg::Lock::Timeout=300 update -qq || true
    as_root env DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=300 build-dep -y -qq \
        --no-install-recommends ./ || true
    if ! unmet=$(dpkg-checkbuilddeps 2>&1); then
        fail "missing, and could not be installed: ${unmet##*: }"
    fi
fi

if git rev-parse --is-inside-work-tree >/dev/null 2>&1 && [ -n "$(git status --porcelain)" ]; then
    echo "package.sh: warning: uncommitted changes; the package will hold them:" >&2
    git status --short >&2
fi

version=$(dpkg-parsechangelog -S Version)
arch=$(dpkg-architecture -q DEB_HOST_ARCH)
changes=bul-pgia_${version}_${arch}.changes
deb=dist/bul-pgia_${version}_${arch}.deb

# dpkg-buildpackage writes beside the tree; everything it made is moved into dist/.
dpkg-buildpackage -b -us -uc --post-clean
mkdir -p dist
dcmd mv -f "../$changes" dist/

echo "=== lintian $deb"
lintian --fail-on error,warning --display-info --pedantic "$deb" ||
    fail "lintian found errors or warnings in $deb (tags above)"

# Checked: PIE, stack protector, read-only relocations, immediate binding.
# Fortify is left out: it reports C++ programs whose copies the compiler
# inlined as unprotected, whatever the flags. Control-flow protection too:
# Debian 12's dpkg-buildflags has no such feature, and Qt is built without it.
echo "=== hardening-check"
unpacked=$(mktemp -d)
trap 'rm -rf "$unpacked"' EXIT
dpkg-deb -x "$deb" "$unpacked"
hardening-check --nofortify --nocfprotection "$unpacked/usr/games/bul-pgia" ||
    fail "the packaged program lacks a hardening feature (above)"

echo "package.sh: $deb built, lintian-clean and hardened"
