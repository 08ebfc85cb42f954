#!/usr/bin/env bash
# The one list of Debian packages the project uses, in groups, for Debian 12
# (bookworm) and Debian 13 (trixie). Installs the groups named on the command
# line (default: play) and is quick and silent when all of their packages are
# there.
#
#   scripts/install-deps.sh play test
#   scripts/install-deps.sh --list play test     (prints the packages, installs nothing)
#
# Groups: play (build and run the game), test (run every test), quality
# (sanitizers, fuzzing, static analysis), package (build the Debian package),
# fresh (the clean roots package.sh and tests/fresh/run.sh build in), web
# (build the browser page), desktop (start the game on a private X server and
# close it, as tests/package/start_and_close.py does), reproducible (make
# twice and compare: tests/package/release_test.sh, scripts/package.sh
# --twice), autopkgtest (Debian's test runner, for debian/tests/), assets
# (remake the pictures), peers (bench/startup.py --peers: the game's build with the
# benchmarks, the other games of the genre and the X client library that
# watches their windows).
#
# A word "+GROUP" stands for that group's packages. Where a package's name
# differs between the releases, one word holds each release's name:
# "NAME@bookworm/NAME@trixie".
set -euo pipefail

releases=$(awk '!/^#/ {print $1}' "$(dirname "$0")/releases" | tr '\n' ' ')
releases=${releases% }
declare -A groups=(
    [play]="g++ cmake ninja-build pkg-config qt6-base-dev libxcb1-dev libjpeg62-turbo-dev culmus fontconfig"
    [test]="python3 python3-pytest python3-pytest-xdist python3-pytest-timeout python3-pytest-forked
            libgtest-dev libbenchmark-dev nginx
            xvfb xauth x11-utils xdotool dbus at-spi2-core python3-pyatspi orca
            qt6-wayland weston libweston-10-dev@bookworm/libweston-14-dev@trixie
            appstream desktop-file-utils
            chromium chromium-driver firefox-esr webkit2gtk-driver python3-selenium python3-pil npm"
    [quality]="clang clang-tidy libclang-rt-14-dev@bookworm/libclang-rt-19-dev@trixie"
    [package]="dpkg-dev debhelper lintian devscripts"
    [fresh]="mmdebstrap git"
    [release]="dpkg-dev xz-utils"
    [piuparts]="piuparts mmdebstrap"
    [reproducible]="faketime diffoscope-minimal"
    [autopkgtest]="autopkgtest"
    [web]="cmake ninja-build culmus emscripten node-acorn
           python3-fonttools python3-brotli libjpeg-turbo-progs"
    [desktop]="python3 xvfb xauth x11-utils xdotool dbus"
    [assets]="python3-pil"
    [peers]="+play libbenchmark-dev xvfb xauth dbus at-spi2-core
             colorcode gnome-mastermind sgt-puzzles python3-xlib"
)

release=$(. /etc/os-release && echo "${VERSION_CODENAME-}")
case " $releases " in
    *" $release "*) ;;
    *) echo "install-deps.sh: Debian release \"$release\" unknown: the package names are known for $releases only" >&2
       exit 2 ;;
esac

# packages_of GROUP: the group's packages by this release's names, one a line.
packages_of() {
    local word
    if [ -z "${groups[$1]+set}" ]; then
        echo "install-deps.sh: no group \"$1\" (groups: ${!groups[*]})" >&2
        exit 2
    fi
    for word in ${groups[$1]}; do
        case $word in
            +*) packages_of "${word#+}" ;;
            *@*) tr / '\n' <<<"$word" | sed -n "s/@$release\$//p" ;;
            *) echo "$word" ;;
        esac
    done
}

list_only=
if [ "${1-}" = --list ]; then
    list_only=1
    shift
fi
if [ $# -eq 0 ]; then
    set -- play
fi

# What the installed packages provide counts as there: a node from outside
# Debian's archive may bring its own npm, and asking apt for Debian's would
# only fight that package.
provided=" $(dpkg-query -W -f='${db:Status-Abbrev}|${Provides}\n' 2>/dev/null |
             sed -n 's/^ii *|//p' | tr ',' '\n' | sed 's/(.*//; s/ //g' | tr '\n' ' ') "

missing=()
for group in "$@"; do
    packages=$(packages_of "$group") || exit 2
    for package in $packages; do
        if [ -n "$list_only" ]; then
            echo "$package"
            continue
        fi
        if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' &&
           [[ $provided != *" $package "* ]]; then
            missing+=("$package")
        fi
    done
done
# A package two groups share is asked for once.
[ ${#missing[@]} -eq 0 ] || mapfile -t missing < <(printf '%s\n' "${missing[@]}" | sort -u)

if [ -n "$list_only" ] || [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

sudo=()
if [ "$(id -u)" -ne 0 ]; then
    if ! command -v sudo >/dev/null; then
        echo "install-deps.sh: not root and no sudo; install as root: ${missing[*]}" >&2
        exit 1
    fi
    sudo=(sudo)
fi
echo "Installing: ${missing[*]}"
"${sudo[@]}" apt-get -o DPkg::Lock::Timeout=300 update -qq
# sudo drops the caller's environment: the front end goes through env.
"${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=300 install -y -qq --no-install-recommends "${missing[@]}"
