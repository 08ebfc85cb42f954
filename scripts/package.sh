#!/usr/bin/env bash
# Builds the Debian package of this tree for a Debian release, as Debian's
# build daemons do: from the release's source package (scripts/release.sh),
# unpacked by dpkg-source in a clean root of that release made from nothing
# (tests/fresh/run.sh), so that a package missing from Build-Depends fails the
# build. The result, with the source package and the checks' reports, goes to
# dist/SUITE/.
#
#   scripts/package.sh [--suite SUITE] [--twice]   (default: this machine's release)
#   scripts/package.sh --here [--twice] [DSC]      (builds on this system, into dist/ of this release)
#
# --here installs the packaging tools (group "package" of install-deps.sh)
# and the build dependencies that debian/control names, unpacks the source
# package DSC (by default one it makes of this tree for this release), builds
# it with dpkg-buildpackage, then fails on any lintian error or warning in the
# source or the binary package and checks the packaged program's hardening.
# Both are that release's own lintian and hardening-check: the clean root runs
# --here.
#
# --twice builds the source package a second time, from another folder, in
# another time zone and locale, under another umask, on one core and three
# days later (faketime), without building the tests again (the first build ran
# them: nocheck), and fails unless every .deb is byte-identical to the
# first build's; diffoscope's report of a difference is kept as
# dist/SUITE/diffoscope.txt (dist/SUITE.new/ through a clean root).
#
# A run builds into dist/SUITE.new/ and only a good build replaces dist/SUITE/:
# the last good package stays until then, and a failed build's whole log and
# reports stay in dist/SUITE.new/. Everything in dist/ belongs to whoever ran
# this, also when the root was made through sudo. The versions
# (1.0.0-1~deb12u1, 1.0.0-1~deb13u1) are scripts/release.sh's.
set -euo pipefail
# A source package named on the command line is taken from where the caller is.
if [ "${1-}" = --here ] && [ $# -ge 2 ] && [[ ${!#} != --* ]]; then
    set -- "${@:1:$#-1}" "$(realpath "${!#}")"
fi
cd "$(dirname "$0")/.."

fail() {
    echo "package.sh: $*" >&2
    exit 1
}

# The releases a package is built for.
releases=$(awk '!/^#/ {print $1}' scripts/releases | tr '\n' ' ')
releases=${releases% }

as_root() {
    if [ "$(id -u)" -eq 0 ]; then
        "$@"
    elif command -v sudo >/dev/null; then
        sudo "$@"
    else
        return 1
    fi
}

# build_here [DSC]: the package of DSC, or of this tree, built on this system.
build_here() {
    local twice=
    if [ "${1-}" = --twice ]; then
        twice=1
        shift
    fi
    [ $# -le 1 ] && [[ ${1-} != --* ]] || fail "$usage"
    local release
    release=$(. /etc/os-release && echo "${VERSION_CODENAME-}")
    [[ " $releases " == *" $release "* ]] ||
        fail "Debian release \"$release\" unknown (known: $releases)"
    # Each tool with the package that brings it.
    local tools missing tool unmet
    tools=(dpkg-buildpackage:dpkg-dev dh:debhelper lintian:lintian hardening-check:devscripts
           dcmd:devscripts)
    scripts/install-deps.sh package || true
    missing=()
    if [ -n "$twice" ]; then
        scripts/install-deps.sh reproducible || true
        tools+=(faketime:faketime diffoscope:diffoscope-minimal)
    fi
    for tool in "${tools[@]}"; do
        command -v "${tool%%:*}" >/dev/null || missing+=("${tool%%:*} (package ${tool#*:})")
    done
    [ ${#missing[@]} -eq 0 ] || fail "missing, and could not be installed: ${missing[*]}"

    local scratch dsc=${1-}
    scratch=$(mktemp -d)
    # shellcheck disable=SC2064  # the folder's name is fixed now: the trap outlives this function
    trap "rm -rf '$scratch'" EXIT
    if [ -z "$dsc" ]; then
        scripts/release.sh --suite "$release" --out "$scratch/source"
        dsc=$(ls "$scratch"/source/*.dsc)
    fi
    [ -f "$dsc" ] || fail "no source package $dsc"
    # Unpacked as a build daemon unpacks it: the tree in the folder is not used.
    dpkg-source --extract "$dsc" "$scratch/build" >/dev/null
    cd "$scratch/build"
    if ! dpkg-checkbuilddeps >/dev/null 2>&1; then
        echo "Installing the build dependencies of debian/control"
        as_root apt-get -o DPkg::Lock::Timeout=300 update -qq || true
        as_root env DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=300 build-dep -y -qq \
            --no-install-recommends ./ || true
        if ! unmet=$(dpkg-checkbuilddeps 2>&1); then
            fail "missing, and could not be installed: ${unmet##*: }"
        fi
    fi
    local version arch changes
    version=$(dpkg-parsechangelog -S Version)
    arch=$(dpkg-architecture -q DEB_HOST_ARCH)
    changes=bul-pgia_${version}_${arch}.changes
    dpkg-buildpackage -b -us -uc
    cd - >/dev/null

    # dpkg-buildpackage wrote beside the unpacked tree; the source package and
    # everything built from it are moved into dist/.
    local dist=dist/$release
    mkdir -p "$dist"
    dcmd cp -f "$dsc" "$dist/"
    dcmd mv -f "$scratch/$changes" "$dist/"
    dsc=$dist/${dsc##*/}
    local deb=$dist/bul-pgia_${version}_${arch}.deb

    # The checks' reports are also kept beside the package, for whoever built it
    # through a clean root, which shows a command's output only when it fails.
    local checks=$dist/checks.txt
    # The game has no web site to name: AppStream 1.0 (Debian 13) warns that
    # its metainfo has no homepage, which lintian reports as the tag below.
    # Debian 12's lintian has no such tag, and refuses to hear of it.
    local suppress=()
    if lintian-explain-tags appstream-metadata-validation-failed >/dev/null 2>&1; then
        suppress=(--suppress-tags appstream-metadata-validation-failed)
    fi
    echo "=== lintian $dsc $deb" | tee "$checks"
    lintian --fail-on error,warning --display-info --pedantic "${suppress[@]}" "$dsc" "$deb" 2>&1 |
        tee -a "$checks" ||
        fail "lintian found errors or warnings in $dsc or $deb (tags above)"

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
    dpkg-deb -x "$deb" "$scratch/deb"
    hardening-check "${skip[@]}" "$scratch/deb/usr/games/bul-pgia" 2>&1 | tee -a "$checks" ||
        fail "the packaged program lacks a hardening feature (above)"

    if [ -n "$twice" ]; then
        build_again "$dsc" "$scratch" "$dist"
    fi
    echo "package.sh: $deb built from $dsc, lintian-clean and hardened$([ -z "$twice" ] || echo ", and reproducible")"
}

# build_again DSC SCRATCH DIST: DSC built again, as a rebuilder elsewhere would,
# and each of its .debs compared with the one in DIST.
build_again() {
    local dsc=$1 scratch=$2 dist=$3 deb first differ=()
    rm -f "$dist/diffoscope.txt"
    local tree=$scratch/again/some/other/folder/bul-pgia
    mkdir -p "${tree%/*}"
    dpkg-source --extract "$dsc" "$tree" >/dev/null
    (cd "$tree" && umask 002 &&
        env TZ=Pacific/Kiritimati LC_ALL=C.UTF-8 LANG=C.UTF-8 HOME="$scratch/again" \
            DEB_BUILD_OPTIONS="${DEB_BUILD_OPTIONS:+$DEB_BUILD_OPTIONS }parallel=1 nocheck" \
            faketime -f +3d dpkg-buildpackage -b -us -uc >"$scratch/again/build.log" 2>&1) ||
        { tail -n 30 "$scratch/again/build.log" >&2; fail "the second build failed (its last 30 lines above)"; }
    for deb in "${tree%/*}"/*.deb; do
        first=$dist/${deb##*/}
        if [ ! -f "$first" ]; then
            differ+=("${deb##*/} (only in the second build)")
        elif ! cmp -s "$first" "$deb"; then
            differ+=("${deb##*/}")
            diffoscope --text - "$first" "$deb" >>"$dist/diffoscope.txt" 2>&1 || true
        fi
    done
    [ ${#differ[@]} -eq 0 ] ||
        fail "built twice, not the same: ${differ[*]}; diffoscope's report: $dist/diffoscope.txt"
    echo "=== built again elsewhere, later, otherwise: $(cd "${tree%/*}" && echo ./*.deb |
        wc -w) .debs, each byte-identical to the first build's" | tee -a "$dist/checks.txt"
}

usage="usage: scripts/package.sh [--suite ${releases// /|}] [--twice] | --here [--twice] [DSC]"
if [ "${1-}" = --here ]; then
    shift
    [ $# -le 2 ] || fail "$usage"
    build_here "$@"
    exit
fi

suite=$(. /etc/os-release && echo "${VERSION_CODENAME-}")
if [ "${1-}" = --suite ]; then
    [ $# -ge 2 ] || fail "$usage"
    suite=$2
    shift 2
fi
twice=
if [ "${1-}" = --twice ]; then
    twice=" --twice"
    shift
fi
[ $# -eq 0 ] || fail "$usage"
[[ " $releases " == *" $suite "* ]] || fail "Debian release \"$suite\" unknown (known: $releases)"
scripts/install-deps.sh fresh release

# The new build goes to its own folder, which becomes dist/SUITE only whole.
new=dist/$suite.new
rm -rf "$new"
mkdir -p "$new"
scripts/release.sh --suite "$suite" --out "$new" >/dev/null
rm -f "$new"/bul-pgia-*.tar.*
dsc=$(ls "$new"/*.dsc)
ins=()
for file in "$dsc" "$new"/*.orig.tar.* "$new"/*.debian.tar.*; do
    ins+=(--in "$file")
done
as_root tests/fresh/run.sh "${ins[@]}" --out "dist/$suite" "$new" "$suite" \
    "scripts/package.sh --here$twice ~/in/${dsc##*/}" ||
    fail "no package for $suite (above); the last good one, if any, is still in dist/$suite/"
rm -rf "dist/$suite.old"
[ ! -e "dist/$suite" ] || mv "dist/$suite" "dist/$suite.old"
mv "$new" "dist/$suite"
rm -rf "dist/$suite.old"
cat "dist/$suite/checks.txt"
ls "dist/$suite"/*.deb
