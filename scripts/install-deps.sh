#!/usr/bin/env bash
# Installs every Debian package the game needs to build, run and be tested.
# The one list of packages; quick and silent when all of them are there.
set -euo pipefail

packages=(
    # build
    g++ cmake ninja-build pkg-config
    qt6-base-dev libxcb1-dev libgtest-dev libgmock-dev libbenchmark-dev
    # the Hebrew font the board is drawn in
    culmus fontconfig
    # remaking the pictures in assets/ (assets/make_assets.py)
    python3-pil
    # a display for the tests, and tools that drive the program from outside
    xvfb xauth x11-utils xdotool imagemagick dbus at-spi2-core python3-pyatspi
    # quality checks: sanitizers, fuzzing, static analysis, metadata validation
    clang clang-tidy libclang-rt-14-dev appstream desktop-file-utils
)

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$package")
    fi
done

if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

sudo=()
if [ "$(id -u)" -ne 0 ]; then
    sudo=(sudo)
fi
echo "Installing: ${missing[*]}"
"${sudo[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
