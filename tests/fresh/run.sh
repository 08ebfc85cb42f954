#!/usr/bin/env bash
# Runs commands in a root of a Debian release made from nothing, as a new player
# would run them: a minimal root (mmdebstrap --variant=apt: apt and the
# essential packages, plus sudo and passwd for the user), the machine's own apt sources (moved to the
# release asked for) and apt settings, a user "player" who may use sudo, and
# this tree (scripts/tree.sh: the last commit in a checkout, the files of an
# unpacked tarball otherwise) in ~/bul-pgia. Nothing of the project's is
# installed beforehand: each command installs what it needs.
#
#   tests/fresh/run.sh [--in FILE]... [--out PATH DIR] SUITE COMMAND...
#
# Each COMMAND is a shell command line, run in ~/bul-pgia as the player; the
# first that fails ends the run, its last 30 lines shown. --in copies a file
# into ~/in/; --out copies the folder PATH (relative to ~/bul-pgia) into DIR
# afterwards, and after a failure also the whole log, as DIR/fresh.log; what
# it copies belongs to the owner of DIR (or of its nearest existing parent),
# so a user's sudo leaves that user's files.
# Downloaded packages are shared through hard links: each root's apt archive
# folder starts with those of the machine's and of the roots' shared folder,
# and what a root downloads goes back to the shared folder, so a package is
# downloaded once for the machine and every root. (A folder bound into every
# root would share its apt lock too: roots running side by side, or beside the
# machine's own apt, would fail on it.) Everything runs in mount and
# process namespaces of its own: however the run ends, nothing stays mounted or
# running, and the root is removed, never through a mount left inside it.
# Needs root.
set -euo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
. "$top/tests/fresh/machine_apt.sh"

say() { echo "fresh: $*" >&2; }
fail() {
    say "$*"
    exit 1
}

# The releases whose roots are known to build and run the project.
known_suites=$(awk '!/^#/ {print $1}' "$top/scripts/releases" | tr '\n' ' ')
known_suites=${known_suites% }
# A trixie root with the test group installed and the project built takes 6 GB.
min_free_gb=${FRESH_MIN_FREE_GB:-10}
user=player
usage="usage: tests/fresh/run.sh [--in FILE]... [--out PATH DIR] SUITE COMMAND..."

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
        --setup-hook="$fresh_cache_hook" \
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
    "$top/scripts/tree.sh" | tar -x -C "$home/bul-pgia"
    local file
    for file in "${ins[@]}"; do
        cp "$file" "$home/in/"
    done
    chroot "$root" chown -R "$user:$user" "/home/$user"

    # The whole log keeps every command's output; the one that fails shows its end.
    local command started
    for command in "$@"; do
        started=$SECONDS
        say "$suite: $command"
        echo "=== $command" >>"$log"
        if ! chroot "$root" runuser -l "$user" -c "cd ~/bul-pgia && $command" >"$log.command" 2>&1; then
            cat "$log.command" >>"$log"
            tail -n 30 "$log.command" >&2
            fail "$suite: failed after $((SECONDS - started)) s: $command (its last 30 lines above$(
                [ -z "$out_dir" ] || echo "; the whole log and the reports: $out_dir/"))"
        fi
        cat "$log.command" >>"$log"
        say "$suite: done in $((SECONDS - started)) s: $command"
    done
}

ins=()
out_path=
out_dir=
# Every option needs its values, and none of them may look like an option.
while [ $# -gt 0 ]; do
    case $1 in
        --in)
            [ $# -ge 2 ] && [[ $2 != --* ]] || fail "$usage"
            ins+=("$(realpath -m "$2")"); shift 2 ;;
        --out)
            [ $# -ge 3 ] && [[ $2 != --* && $3 != --* ]] || fail "$usage"
            out_path=$2; out_dir=$(realpath -m "$3"); shift 3 ;;
        --*) fail "$usage" ;;
        *) break ;;
    esac
done
[ $# -ge 2 ] || fail "$usage"
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

# Whoever owns the folder the results go to owns the results.
owner=
if [ -n "$out_dir" ]; then
    parent=$out_dir
    until [ -d "$parent" ]; do parent=$(dirname "$parent"); done
    owner=$(stat -c %u:%g "$parent")
fi

scratch=$(mktemp -d "$work/bul-pgia-fresh.XXXXXX")
root=$scratch/root
mkdir "$root"
inner=
# copy_out STATUS: the --out folder, and after a failure the whole log, into DIR.
copy_out() {
    local from=$root/home/$user/bul-pgia/$out_path
    [ -n "$out_dir" ] || return 0
    mkdir -p "$out_dir"
    [ ! -d "$from" ] || cp -r "$from/." "$out_dir/"
    [ "$1" -eq 0 ] || [ ! -f "$scratch/log" ] || cp "$scratch/log" "$out_dir/fresh.log"
    chown -R "$owner" "$out_dir"
}
cleanup() {
    local status=$?
    # unshare ignores TERM and INT while it waits; killed, it takes its child,
    # the namespace's first process, and with it every process of the run.
    if [ -n "$inner" ]; then
        kill -KILL "$inner" 2>/dev/null || true
        wait "$inner" 2>/dev/null || true
    fi
    # The namespace took its mounts with it. A mount still seen here is a
    # fault, and removing through it could reach the machine's own /dev or
    # /sys: the root is left as it is, and said so.
    local mounted
    mounted=$(findmnt -rn -o TARGET | grep -F "$scratch" | tr '\n' ' ' || true)
    if [ -n "$mounted" ]; then
        say "still mounted after the run, so $scratch is left in place: $mounted"
        exit 1
    fi
    copy_out "$status" || status=1
    rm -rf --one-file-system "$scratch"
    exit "$status"
}
trap cleanup EXIT
trap 'exit 129' HUP
trap 'exit 130' INT
trap 'exit 143' TERM

sources=$(machine_sources "$suite" "$scratch")
aptconf=$scratch/apt.conf
machine_aptconf "$aptconf"
mkdir -p "$fresh_cache"

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
