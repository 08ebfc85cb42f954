#!/usr/bin/env bash
# The one list of Debian packages the project uses, in groups. Installs the
# groups named on the command line (default: play) and is quick and silent
# when all of their packages are there.
#
#   scripts/install-deps.sh play test
#   scripts/install-deps.sh --list play test     (prints the packages, installs nothing)
#
# Groups: play (build and run the game), test (run every test), quality
# (sanitizers, fuzzing, static analysis), package (build the Debian package),
# web (build the browser page), assets (remake the pictures), peers (the other
# games of the genre and the X client library that watches their windows, for
# the start-up benchmark's --peers only).
set -euo pipefail

declare -A groups=(
    [play]="g++ cmake ninja-build pkg-config qt6-base-dev libxcb1-dev libjpeg62-turbo-dev culmus fontconfig"
    [test]="python3 libgtest-dev libgmock-dev libbenchmark-dev
            xvfb xauth x11-utils xdotool dbus at-spi2-core python3-pyatspi orca
            qt6-wayland weston libweston-10-dev
            appstream desktop-file-utils
            chromium chromium-driver python3-selenium python3-pil npm"
    [quality]="clang clang-tidy libclang-rt-14-dev"
    [package]="dpkg-dev debhelper lintian devscripts"
    [web]="emscripten node-acorn python3-fonttools python3-brotli libjpeg-turbo-progs"
    [assets]="python3-pil"
    [peers]="colorcode gnome-mastermind sgt-puzzles python3-xlib"
)

list_only=
if [ "${1-}" = --list ]; then
    list_only=1
    shift
fi
if [ $# -eq 0 ]; then
    set -- play
fi

missing=()
for group in "$@"; do
    if [ -z "${groups[$group]+set}" ]; then
        echo "install-deps.sh: no group \"$group\" (groups: ${!groups[*]})" >&2
        exit 2
    fi
    for package in ${groups[$group]}; do
        if [ -n "$list_only" ]; then
            echo "$package"
            continue
        fi
        if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
            missing+=("$package")
        fi
    done
done

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
DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get -o DPkg::Lock::Timeout=300 install -y -qq --no-install-recommends "${missing[@]}"
