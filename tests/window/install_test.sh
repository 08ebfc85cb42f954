#!/usr/bin/env bash
# What `cmake --install` puts where: the program, the desktop entry, the
# AppStream metainfo and the theme icons. The program goes to BIN_DIR (bin/,
# or games/ in the Debian package). Usage: install_test.sh BUILD_DIR SOURCE_DIR [BIN_DIR]
# The installed metainfo is also validated as software centres read it; without
# appstreamcli (package appstream) that part is left out and the test exits 77
# (skipped) once everything else has passed.
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
    share/metainfo/org.bulpgia.bulpgia.metainfo.xml
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

# The newest release the metainfo names is the changelog's newest upstream
# version, on the day of its entry. (A release's rebuild, VERSION~debNNuN,
# puts an entry of its own above it while the package builds.)
metainfo="$prefix/share/metainfo/org.bulpgia.bulpgia.metainfo.xml"
changelog="$source/debian/changelog"
if [ -f "$metainfo" ] && [ -f "$changelog" ]; then
    read -r version day < <(sed -n 's/.*<release version="\([^"]*\)" date="\([^"]*\)".*/\1 \2/p' "$metainfo") || true
    newest=$(sed -n '1s/^bul-pgia (\([^)~-]*\).*/\1/p' "$changelog")
    # The entry of that version itself (VERSION or VERSION-REVISION), not a rebuild's.
    entry=$(awk -v v="$newest" '$1 == "bul-pgia" { version = $2; gsub(/[()]/, "", version)
                                                   sub(/-[^~-]*$/, "", version) }
                                $1 == "bul-pgia" && version == v { found = 1 }
                                found && /^ -- / { sub(/.*>  /, ""); print; exit }' "$changelog")
    entry_day=
    [ -z "$entry" ] || entry_day=$(date -u -d "$entry" +%F)
    if [ "${version:-}" != "$newest" ] || [ "$entry_day" != "${day:-}" ]; then
        echo "FAIL the metainfo's newest release is ${version:-none} of ${day:-no day};" \
            "debian/changelog's is $newest of ${entry_day:-no day}" >&2
        failures=$((failures + 1))
    fi
fi

# Anything the validator finds fails the test, but two findings that cannot be
# had: the game has no web site to give as its homepage, and AppStream before
# 1.0 (Debian 12) knows no <developer> tag, which 1.0 asks for.
validated=
if [ -f "$metainfo" ] && command -v appstreamcli >/dev/null; then
    report=$(appstreamcli validate --pedantic --no-net "$metainfo" 2>&1 || true)
    findings=$(grep -E '^[EWIP]: ' <<<"$report" |
        grep -Ev '^[EWIP]: [^ ]+ (url-homepage-missing|unknown-tag developer)$' || true)
    if [ -n "$findings" ]; then
        printf 'FAIL appstreamcli validate --pedantic:\n%s\n' "$findings" >&2
        failures=$((failures + 1))
    fi
    validated=1
fi

echo "installed: ${expected[*]}"
[ "$failures" -eq 0 ] || exit 1
if [ -z "$validated" ]; then
    echo "SKIP the installed metainfo is not validated: no appstreamcli (package appstream)"
    exit 77
fi
echo "the metainfo passes appstreamcli validate --pedantic but for: $(grep -E '^[EWIP]: ' <<<"$report" | cut -d' ' -f3- | paste -sd, -)"
