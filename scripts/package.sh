#!/usr/bin/env bash
# Builds the Debian package of this tree's HEAD for a Debian release, as
# Debian's build daemons do: in a clean root of that release made from nothing
# (tests/fresh/run.sh), so that a package missing from Build-Depends fails the
# build. The result goes to dist/SUITE/.
#
#   scripts/package.sh [--suite bookworm|trixie]   (default: this machine's release)
#   scripts/package.sh --here                      (builds on this system, for dist/ of this release)
#
# --here installs the packaging tools (group "package" of install-deps.sh)
# and the build dependencies that debian/control names, runs
# dpkg-buildpackage, then fails on any lintian error or warning and checks the
# packaged program's hardening. Both are that release's own lintian and
# hardening-check: the clean root runs --here.
#
# One upstream version is built for two releases, as Debian's stable updates
# do: 1.0.0~deb12u1 for Debian 12 and 1.0.0~deb13u1 for Debian 13. The two
# names differ, so both sit in one repository's pool; 12's sorts below 13's,
# so an upgrade from 12 to 13 takes the rebuilt package; and both sort below
# the plain 1.0.0 of debian/changelog, so a later upload of it replaces either.
set -euo pipefail
cd "$(dirname "$0")/.."

fail() {
    echo "package.sh: $*" >&2
    exit 1
}

# The number in each release's version suffix.
declare -A release_numbers=([bookworm]=12 [trixie]=13)

as_root() {
    if [ "$(id -u)" -eq 0 ]; then
        "$@"
    elif command -v sudo >/dev/null; then
        sudo "$@"
    else
        return 1
    fi
}

build_here() {
    local release unpacked
    release=$(. /etc/os-release && echo "${VERSION_CODENAME-}")
    [ -n "${release_numbers[$release]+set}" ] ||
        fail "Debian release \"$release\" unknown (known: ${!release_numbers[*]})"
    unpacked=$(mktemp -d)
    # Each tool with the package that brings it.
    local tools missing tool unmet upstream version arch changes deb maintainer date
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

    # The release's rebuild gets its own changelog entry for the build, and the
    # tree its own changelog back afterwards. The entry is dated a second after
    # the one it follows: newer, as lintian wants, and the same in every build.
    upstream=$(dpkg-parsechangelog -S Version)
    version=${upstream}~deb${release_numbers[$release]}u1
    arch=$(dpkg-architecture -q DEB_HOST_ARCH)
    changes=bul-pgia_${version}_${arch}.changes
    deb=dist/$release/bul-pgia_${version}_${arch}.deb
    cp debian/changelog "$unpacked/changelog"
    # shellcheck disable=SC2064  # the folder's name is fixed now: the trap outlives this function
    trap "cp '$unpacked/changelog' debian/changelog; rm -rf '$unpacked'" EXIT
    maintainer=$(dpkg-parsechangelog -S Maintainer)
    date=$(date -R -u -d "@$(($(dpkg-parsechangelog -S Timestamp) + 1))")
    {
        echo "bul-pgia ($version) $release; urgency=medium"
        echo
        echo "  * Rebuilt for Debian ${release_numbers[$release]} ($release)."
        echo
        echo " -- $maintainer  $date"
        echo
        cat "$unpacked/changelog"
    } >debian/changelog

    # dpkg-buildpackage writes beside the tree; everything it made is moved into dist/.
    dpkg-buildpackage -b -us -uc --post-clean
    mkdir -p "dist/$release"
    dcmd mv -f "../$changes" "dist/$release/"

    # The checks' reports are also kept beside the package, for whoever built it
    # through a clean root, which shows a command's output only when it fails.
    local checks=dist/$release/checks.txt
    # The game has no web site to name: AppStream 1.0 (Debian 13) warns that
    # its metainfo has no homepage, which lintian reports as the tag below.
    # Debian 12's lintian has no such tag, and refuses to hear of it.
    local suppress=()
    if lintian-explain-tags appstream-metadata-validation-failed >/dev/null 2>&1; then
        suppress=(--suppress-tags appstream-metadata-validation-failed)
    fi
    echo "=== lintian $deb" | tee "$checks"
    lintian --fail-on error,warning --display-info --pedantic "${suppress[@]}" "$deb" 2>&1 |
        tee -a "$checks" ||
        fail "lintian found errors or warnings in $deb (tags above)"

    # Checked: PIE, stack protector, read-only relocations, immediate binding.
    # Fortify is left out: it reports C++ programs whose copies the compiler
    # inlined as unprotected, whatever the flags. Control-flow protection too:
    # Debian 12's dpkg-buildflags has no such feature, and Qt is built without it.
    # Branch protection too: it is arm64's (BTI and pointer authentication), yet
    # Debian 13's hardening-check asks for it everywhere; Debian 12's knows none.
    local skip=(--nofortify --nocfprotection)
    local usage
    usage=$(hardening-check --help 2>&1 || true)
    if [[ $usage == *--nobranchprotection* ]]; then
        skip+=(--nobranchprotection)
    fi
    echo "=== hardening-check" | tee -a "$checks"
    dpkg-deb -x "$deb" "$unpacked/deb"
    hardening-check "${skip[@]}" "$unpacked/deb/usr/games/bul-pgia" 2>&1 | tee -a "$checks" ||
        fail "the packaged program lacks a hardening feature (above)"

    echo "package.sh: $deb built, lintian-clean and hardened"
}

if [ "${1-}" = --here ]; then
    build_here
    exit
fi

suite=$(. /etc/os-release && echo "${VERSION_CODENAME-}")
if [ "${1-}" = --suite ]; then
    suite=${2-}
    shift 2 || true
fi
[ $# -eq 0 ] || fail "usage: scripts/package.sh [--suite bookworm|trixie] | --here"
[ -n "${release_numbers[$suite]+set}" ] ||
    fail "Debian release \"$suite\" unknown (known: ${!release_numbers[*]})"
scripts/install-deps.sh fresh
if [ -n "$(git status --porcelain)" ]; then
    echo "package.sh: warning: uncommitted changes are left out; the clean root gets HEAD:" >&2
    git status --short >&2
fi
rm -rf "dist/$suite"
as_root tests/fresh/run.sh --out "dist/$suite" "dist/$suite" "$suite" "scripts/package.sh --here" ||
    fail "no package for $suite (above)"
cat "dist/$suite/checks.txt"
ls "dist/$suite"/*.deb
