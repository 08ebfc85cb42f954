#!/usr/bin/env bash
# Builds the game's web page (web/, with emscripten) into one static folder,
# build-web/page/, and prints that folder's path as its last line.
#
#   scripts/web.sh           build
#   scripts/web.sh serve [PORT]   build, then serve the page on http://127.0.0.1:PORT/
#                                 (default 8000)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

# A port that cannot be is said before the build, not after it.
port=${2:-8000}
if [ "${1:-}" = serve ] &&
   { ! [[ $port =~ ^[0-9]{1,5}$ ]] || [ "$port" -lt 1 ] || [ "$port" -gt 65535 ]; }; then
    echo "web.sh: the port must be a number from 1 to 65535, not \"$port\"" >&2
    exit 2
fi

scripts/install-deps.sh web
# Debian's emscripten runs its JavaScript tools with node, which must find
# Debian's own node modules (acorn).
export NODE_PATH=${NODE_PATH:+$NODE_PATH:}/usr/share/nodejs

build=${WEB_BUILD_DIR:-$root/build-web}
log=$(mktemp)
trap 'rm -f "$log"' EXIT
# emcmake announces its command on stderr; only a failure's output is shown.
if ! { emcmake cmake -S web -B "$build" -G Ninja && ninja -C "$build" -j2; } >"$log" 2>&1; then
    cat "$log" >&2
    exit 1
fi
page=$build/page

if [ "${1:-}" = serve ]; then
    # With the page's security policy as a header, and its files' types.
    exec /usr/bin/python3 web/serve/serve.py "$page" --port "$port" --bind 127.0.0.1
fi
echo "$page"
