#!/usr/bin/env bash
# The Debian package's Build-Depends come from the project's one list of
# packages: each must be in a group of scripts/install-deps.sh (play, test or
# package), so the two can never drift apart. Usage: build_depends_test.sh SOURCE_DIR
set -euo pipefail

source=$1
known=$("$source/scripts/install-deps.sh" --list play test package)

# The field with its continuation lines, one relation per line, reduced to the
# package name: no version, architecture, profile or alternative.
mapfile -t wanted < <(
    awk '/^Build-Depends:/ { sub(/^Build-Depends:/, ""); field = 1; print; next }
         field && /^[ \t]/ { print; next }
         { field = 0 }' "$source/debian/control" | tr ',|' '\n' |
        sed 's/([^)]*)//g; s/\[[^]]*\]//g; s/<[^>]*>//g; s/:any//; s/[[:space:]]//g' | sed '/^$/d')

if [ ${#wanted[@]} -eq 0 ]; then
    echo "FAIL no Build-Depends read from debian/control" >&2
    exit 1
fi
failures=0
for package in "${wanted[@]}"; do
    # debhelper-compat is a virtual package that debhelper provides.
    [ "$package" = debhelper-compat ] && package=debhelper
    if ! grep -qx -- "$package" <<<"$known"; then
        echo "FAIL $package is in Build-Depends but in no group of scripts/install-deps.sh" >&2
        failures=$((failures + 1))
    fi
done
echo "Build-Depends, all in the project's list: ${wanted[*]}"
exit $((failures > 0))
