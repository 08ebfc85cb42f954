#!/usr/bin/env bash
# Runs commands in a root of a Debian release made from nothing, as a new player
# would run them: a minimal root (mmdebstrap --variant=apt: apt and the
# essential packages, plus sudo and passwd for the user), the machine's own apt sources (moved to the
# release asked for) and apt settings, a user "player" who may use sudo, and
# this repository's HEAD (git archive) in ~/bul-pgia. Nothing of the project's
# is installed beforehand: each command installs what it needs.
#
#   tests/fresh/run.sh [--in FILE]... [--out PATH DIR] SUITE COMMAND...
#
# Each COMMAND is a shell command line, run in ~/bul-pgia as the player; the
# first that fails ends the run, its last 30 lines shown. --in copies a file
# into ~/in/; --out copies PATH (relative to ~/bul-pgia) into DIR afterwards.
# Downloaded packages are shared through hard links: each root's apt archive
# folder starts with those of the machine's and of the roots' shared folder,
# and what a root downloads goes back to the shared folder, so a package is
# downloaded once for the machine and every root. (A folder bound into every
# root would share its apt lock too: roots running side by side, or beside the
# machine's own apt, would fail on it.) Everything runs in mount and
# process namespaces of its own: however the run ends, nothing stays mounted or
# running, and the root is removed. Needs root.
set -euo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)

say() { echo "fresh: $*" >&2; }
fail() {
    say "$*"
    exit 1
}

# The releases whose roots are known to build and run the project.
known_suites="bookworm trixie"
# A trixie root with the test group installed and the project built takes 6 GB.
min_free_gb=${FRESH_MIN_FREE_GB:-10}
cache=${FRESH_APT_CACHE:-/var/cache/bul-pgia-fresh}
user=player

# give_back ROOT: the packages the root downloaded, into the shared folder.
give_back() {
    find "$1/var/cache/apt/archives" -maxdepth 1 -name '*.deb' \
        -exec cp -l -n -t "$cache" {} + 2>/dev/null || true
}

inside() {
    # Runs in the new namespaces: $root is empty, the commands follow.
    local root=$1 log=$2 sources=$3 aptconf=$4
    shift 4
    # The archive folder is filled before the first download, and mmdebstrap
    # is told neither to expect it empty nor to empty it; the package lists stay,
    # as on an installed system.
    # shellcheck disable=SC2064  # the root's path is fixed now: the trap outlives this function
    trap "give_back '$root'" EXIT
    if ! mmdebstrap --variant=apt --mode=root --include=sudo,passwd \
        --skip=download/empty,essential/unlink,cleanup/apt \
        --aptopt="$aptconf" \
        --setup-hook="mkdir -p \"\$1/var/cache/apt/archives/partial\" && find /var/cache/apt/archives '$cache' -maxdepth 1 -name '*.deb' -exec cp -l -n -t \"\$1/var/cache/apt/archives\" {} + 2>/dev/null; true" \
        "$suite" "$root" "$sources" >"$log" 2>&1; then
        if grep -Eq "Failed to fetch|Could not resolve|Unable to connect|Temporary failure resolving|Could not connect|Connection failed|Release' does not have a Release file" "$log"; then
            say "apt cannot reach the sources of $suite: $(grep -Em1 "Failed to fetch|Could not|Unable to|Temporary failure|Release file" "$log")"
        else
            tail -n 30 "$log" >&2
            say "making the $suite root failed (mmdebstrap's last lines above)"
        fi
        exit 1
    fi
    mount -t proc proc "$root/proc"
    mount --rbind /sys "$root/sys"
    mount --rbind /dev "$root/dev"
    mount -t tmpfs -o mode=1777 tmpfs "$root/dev/shm"
    mount -t tmpfs -o mode=755 tmpfs "$root/run"
    mkdir -p "$root/run/lock"
    # The hosts file Debian's installer writes: localhost for the browser tests'
    # driver, the machine's name (mmdebstrap copied /etc/hostname) for sudo.
    printf '127.0.0.1\tlocalhost\n127.0.1.1\t%s\n::1\t\tlocalhost ip6-localhost ip6-loopback\n' \
        "$(cat "$root/etc/hostname")" >"$root/etc/hosts"

    # The machine's own trust and npm settings: a test that fetches from the
    # npm registry reaches it from the root as from the machine.
    if [ -d /usr/local/share/ca-certificates ]; then
        cp -r /usr/local/share/ca-certificates/. "$root/usr/local/share/ca-certificates/"
    fi
    [ ! -f /etc/npmrc ] || cp /etc/npmrc "$root/etc/npmrc"

    chroot "$root" useradd --create-home --shell /bin/bash "$user"
    echo "$user ALL=(ALL:ALL) NOPASSWD: ALL" >"$root/etc/sudoers.d/$user"
    chmod 0440 "$root/etc/sudoers.d/$user"
    local home=$root/home/$user
    mkdir -p "$home/bul-pgia" "$home/in"
    git -C "$top" archive HEAD | tar -x -C "$home/bul-pgia"
    local file
    for file in "${ins[@]}"; do
        cp "$file" "$home/in/"
    done
    chroot "$root" chown -R "$user:$user" "/home/$user"

    local command started
    for command in "$@"; do
        started=$SECONDS
        say "$suite: $command"
        if ! chroot "$root" runuser -l "$user" -c "cd ~/bul-pgia && $command" >"$log" 2>&1; then
            tail -n 30 "$log" >&2
            fail "$suite: failed after $((SECONDS - started)) s: $command (its last 30 lines above)"
        fi
        say "$suite: done in $((SECONDS - started)) s: $command"
    done
    if [ -n "$out_path" ]; then
        mkdir -p "$out_dir"
        cp -r "$home/bul-pgia/$out_path/." "$out_dir/"
    fi
}

ins=()
out_path=
out_dir=
while [ $# -gt 0 ]; do
    case $1 in
        --in) ins+=("$(realpath "$2")"); shift 2 ;;
        --out) out_path=$2; out_dir=$(realpath -m "$3"); shift 3 ;;
        *) break ;;
    esac
done
[ $# -ge 2 ] || fail "usage: tests/fresh/run.sh [--in FILE]... [--out PATH DIR] SUITE COMMAND..."
suite=$1
shift

if [ "${FRESH_INSIDE:-}" = 1 ]; then
    inside "$@"
    exit
fi

case " $known_suites " in
    *" $suite "*) ;;
    *) fail "unknown release \"$suite\" (known: $known_suites)" ;;
esac
command -v mmdebstrap >/dev/null || fail "mmdebstrap is missing (apt-get install mmdebstrap)"
[ "$(id -u)" -eq 0 ] || fail "making and entering a root needs root"
for file in "${ins[@]}"; do
    [ -f "$file" ] || fail "no file $file to copy in"
done

work=${FRESH_WORK_DIR:-/var/tmp}
free_kb=$(df --output=avail -k "$work" | tail -n 1)
[ "$free_kb" -ge $((min_free_gb * 1024 * 1024)) ] ||
    fail "not enough free disk space in $work: $((free_kb / 1024 / 1024)) GB, a root needs $min_free_gb GB"

# The machine's own sources, every suite of its release renamed to $suite
# (bookworm-updates becomes trixie-updates); deb822 and one-line files alike.
. /etc/os-release
host=${VERSION_CODENAME:?}
scratch=$(mktemp -d "$work/bul-pgia-fresh.XXXXXX")
root=$scratch/root
mkdir "$root"
inner=
cleanup() {
    local status=$?
    # unshare ignores TERM and INT while it waits; killed, it takes its child,
    # the namespace's first process, and with it every process of the run.
    if [ -n "$inner" ]; then
        kill -KILL "$inner" 2>/dev/null || true
        wait "$inner" 2>/dev/null || true
    fi
    rm -rf "$scratch"
    # The namespace took its mounts with it; a mount seen here is a fault.
    if findmnt -rn -o TARGET | grep -qF "$scratch"; then
        say "still mounted after the run: $(findmnt -rn -o TARGET | grep -F "$scratch" | tr '\n' ' ')"
        status=1
    fi
    exit "$status"
}
trap cleanup EXIT
trap 'exit 129' HUP
trap 'exit 130' INT
trap 'exit 143' TERM

sources=$scratch/sources
for file in /etc/apt/sources.list /etc/apt/sources.list.d/*.list /etc/apt/sources.list.d/*.sources; do
    [ -f "$file" ] || continue
    sed -E "/^(Suites:|deb(-src)?[[:space:]])/ s/([[:space:]])$host(-[a-z]+)?/\1$suite\2/g" "$file"
    echo
done >"$sources"
grep -q '^Types:' "$sources" && mv "$sources" "$sources.sources" && sources=$sources.sources
# The machine's apt settings, but downloaded packages are kept: a Docker-style
# apt.conf.d/docker-clean would delete the shared archive folder's packages.
aptconf=$scratch/apt.conf
for file in /etc/apt/apt.conf /etc/apt/apt.conf.d/*; do
    [ -f "$file" ] && [ "${file##*/}" != docker-clean ] || continue
    cat "$file"
    echo
done >"$aptconf"
echo 'Binary::apt::APT::Keep-Downloaded-Packages "true"; APT::Keep-Downloaded-Packages "true";' >>"$aptconf"
mkdir -p "$cache"

# A pid namespace of its own: when the run ends, every process it started
# (servers, sessions) ends with it, and with the mount namespace its mounts.
args=()
for file in "${ins[@]}"; do args+=(--in "$file"); done
[ -z "$out_path" ] || args+=(--out "$out_path" "$out_dir")
FRESH_INSIDE=1 unshare --mount --propagation private --pid --fork --kill-child -- \
    "$0" "${args[@]}" "$suite" "$root" "$scratch/log" "$sources" "$aptconf" "$@" &
inner=$!
status=0
wait "$inner" || status=$?
inner=
exit "$status"
