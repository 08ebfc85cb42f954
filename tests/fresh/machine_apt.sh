# The machine's apt sources and settings, for a root of another Debian
# release: sourced by tests/fresh/run.sh and tests/package/piuparts.sh, which
# make their roots with mmdebstrap from these.

# machine_sources SUITE DIR: writes the machine's sources into DIR, every suite
# of its release renamed to SUITE (bookworm-updates becomes trixie-updates),
# deb822 and one-line files alike; prints the file's path, named as
# mmdebstrap tells the two kinds apart.
machine_sources() {
    local suite=$1 sources=$2/sources host file
    host=$(. /etc/os-release && echo "${VERSION_CODENAME:?}")
    for file in /etc/apt/sources.list /etc/apt/sources.list.d/*.list /etc/apt/sources.list.d/*.sources; do
        [ -f "$file" ] || continue
        sed -E "/^(Suites:|deb(-src)?[[:space:]])/ s/([[:space:]])$host(-[a-z]+)?/\1$suite\2/g" "$file"
        echo
    done >"$sources"
    if grep -q '^Types:' "$sources"; then
        mv "$sources" "$sources.sources"
        sources=$sources.sources
    fi
    echo "$sources"
}

# machine_aptconf FILE: the machine's apt settings, but downloaded packages are
# kept: a Docker-style apt.conf.d/docker-clean would delete the shared archive
# folder's packages.
machine_aptconf() {
    local file
    for file in /etc/apt/apt.conf /etc/apt/apt.conf.d/*; do
        [ -f "$file" ] && [ "${file##*/}" != docker-clean ] || continue
        cat "$file"
        echo
    done >"$1"
    echo 'Binary::apt::APT::Keep-Downloaded-Packages "true"; APT::Keep-Downloaded-Packages "true";' >>"$1"
}

# The shared folder of downloaded packages, and the mmdebstrap hook that
# starts a root's archive folder with hard links to it and the machine's.
fresh_cache=${FRESH_APT_CACHE:-/var/cache/bul-pgia-fresh}
fresh_cache_hook="mkdir -p \"\$1/var/cache/apt/archives/partial\" && find /var/cache/apt/archives '$fresh_cache' -maxdepth 1 -name '*.deb' -exec cp -l -n -t \"\$1/var/cache/apt/archives\" {} + 2>/dev/null; true"

# give_back ROOT: the packages the root downloaded, into the shared folder.
give_back() {
    find "$1/var/cache/apt/archives" -maxdepth 1 -name '*.deb' \
        -exec cp -l -n -t "$fresh_cache" {} + 2>/dev/null || true
}
