#!/usr/bin/env bash
# Makes a release of this tree (scripts/tree.sh: the last commit of a
# checkout, or the files of an unpacked tarball) into dist/release/: the
# upstream source bul-pgia-VERSION.tar.xz, and for each Debian release a
# source package (.dsc and .debian.tar.xz over the same tarball as
# bul-pgia_VERSION.orig.tar.xz), the form Debian's build daemons build from.
# scripts/package.sh builds its binary packages from these.
#
#   scripts/release.sh [--suite bookworm|trixie]... [--out DIR]   (default: both, dist/release)
#
# One upstream version is built for two releases, as Debian's stable updates
# do: debian/changelog's 1.0.0-1 becomes 1.0.0-1~deb12u1 for Debian 12 and
# 1.0.0-1~deb13u1 for Debian 13, each with a changelog entry of its own dated
# a second after the one it follows (newer, as lintian wants, and the same in
# every build). The two names differ, so both sit in one repository's pool;
# 12's sorts below 13's, so an upgrade from 12 to 13 takes the rebuilt
# package; and both sort below the plain 1.0.0-1, so a later upload of it
# replaces either.
set -euo pipefail
cd "$(dirname "$0")/.."

fail() {
    echo "release.sh: $*" >&2
    exit 1
}
# Each release's number, which its version suffix carries, and the releases in order.
declare -A release_numbers=()
all_suites=()
while read -r name number; do
    release_numbers[$name]=$number
    all_suites+=("$name")
done < <(awk '!/^#/' scripts/releases)
choices=${all_suites[*]}
usage="usage: scripts/release.sh [--suite ${choices// /|}]... [--out DIR]"

suites=()
out=dist/release
while [ $# -gt 0 ]; do
    case $1 in
        --suite)
            [ $# -ge 2 ] || fail "$usage"
            [ -n "${release_numbers[$2]+set}" ] ||
                fail "Debian release \"$2\" unknown (known: ${all_suites[*]})"
            suites+=("$2"); shift 2 ;;
        --out)
            [ $# -ge 2 ] || fail "$usage"
            out=$2; shift 2 ;;
        *) fail "$usage" ;;
    esac
done
[ ${#suites[@]} -gt 0 ] || suites=("${all_suites[@]}")

# Whoever makes the release, the files it unpacks to make the source packages
# have the same modes, which the Debian tarballs keep.
umask 022
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
# The release is of what tree.sh gives (a checkout's last commit), changelog
# and all; tree.sh also says when this tree is neither a checkout nor a release.
mkdir "$scratch/tree" "$scratch/suites"
scripts/tree.sh >"$scratch/tree.tar"
tar -xf "$scratch/tree.tar" -C "$scratch/tree"
changelog=$scratch/tree/debian/changelog

scripts/install-deps.sh release
version=$(dpkg-parsechangelog -l "$changelog" -S Version)
upstream=${version%-*}
maintainer=$(dpkg-parsechangelog -l "$changelog" -S Maintainer)
# The time of the entries added below, and of every file in the Debian
# tarballs that is newer (the changelog written here): dpkg-source would take
# the time of the run.
SOURCE_DATE_EPOCH=$(($(dpkg-parsechangelog -l "$changelog" -S Timestamp) + 1))
export SOURCE_DATE_EPOCH
date=$(date -R -u -d "@$SOURCE_DATE_EPOCH")

# The unpacked copy has no git: its own tree.sh dates it by the commit, as the
# checkout's did, so the tarball is the same from either.
tarball=bul-pgia-$upstream.tar.xz
"$scratch/tree/scripts/tree.sh" --prefix "bul-pgia-$upstream/" | xz -6 -T1 >"$scratch/$tarball"
ln "$scratch/$tarball" "$scratch/bul-pgia_$upstream.orig.tar.xz"

for suite in "${suites[@]}"; do
    number=${release_numbers[$suite]}
    tree=$scratch/suites/$suite/bul-pgia-$upstream
    mkdir -p "$tree"
    tar -xf "$scratch/$tarball" -C "$scratch/suites/$suite"
    {
        echo "bul-pgia ($version~deb${number}u1) $suite; urgency=medium"
        echo
        echo "  * Rebuilt for Debian $number ($suite)."
        echo
        echo " -- $maintainer  $date"
        echo
        cat "$changelog"
    } >"$tree/debian/changelog"
    ln "$scratch/bul-pgia_$upstream.orig.tar.xz" "$scratch/suites/$suite/"
    (cd "$scratch/suites/$suite" && dpkg-source --build "bul-pgia-$upstream" >/dev/null)
    rm -rf "$tree" "$scratch/suites/$suite/bul-pgia_$upstream.orig.tar.xz"
done

mkdir -p "$out"
mv -f "$scratch/$tarball" "$scratch/bul-pgia_$upstream.orig.tar.xz" "$scratch"/suites/*/* "$out/"
for suite in "${suites[@]}"; do
    echo "release.sh: $out/bul-pgia_$version~deb${release_numbers[$suite]}u1.dsc"
done
