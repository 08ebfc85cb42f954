#!/usr/bin/env bash
# What `cmake --install` puts where: the program, the desktop entry, the
# AppStream metainfo and the theme icons. The program goes to BIN_DIR (bin/,
# or games/ in the Debian package). Usage: install_test.sh BUILD_DIR SOURCE_DIR [BIN_DIR]
set -euo pipefail

build=$1
source=$2
bindir=${3:-bin}
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT

cmake --install "$build" --prefix "$prefix" >/dev/null

expected=(
    "$bindir/bul-pgia"
    share/applications/bul-pgia.desktop
    share/metainfo/org.bulpgia.BulPgia.metainfo.xml
)
if [ -d "$source/assets/hicolor" ]; then
    while IFS= read -r icon; do
        expected+=("share/icons/hicolor/${icon#"$source/assets/hicolor/"}")
    done < <(find "$source/assets/hicolor" -name bul-pgia.png | sort)
fi

failures=0
for file in "${expected[@]}"; do
    if [ ! -s "$prefix/$file" ]; then
        echo "FAIL missing: $file" >&2
        failures=$((failures + 1))
    fi
done
if [ ! -x "$prefix/$bindir/bul-pgia" ]; then
    echo "FAIL $bindir/bul-pgia is not executable" >&2
    failures=$((failures + 1))
fi
# The entry must name the installed program and an icon that is installed.
desktop="$prefix/share/applications/bul-pgia.desktop"
if [ -f "$desktop" ]; then
    program=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$desktop")
    icon=$(sed -n 's/^Icon=//p' "$desktop")
    [ -x "$prefix/$bindir/$program" ] || { echo "FAIL Exec=$program is not installed" >&2; failures=$((failures + 1)); }
    if [ -d "$source/assets/hicolor" ] && ! find "$prefix/share/icons" -name "$icon.png" | grep -q .; then
        echo "FAIL Icon=$icon is not installed" >&2
        failures=$((failures + 1))
    fi
fi
echo "installed: ${expected[*]}"
exit $((failures > 0))
