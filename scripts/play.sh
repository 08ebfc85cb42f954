#!/usr/bin/env bash
# Installs what the game needs, builds it and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh
if [ ! -x build/window/bul-pgia ]; then
    echo "The game's window is not built yet: only the rules and their tests exist." >&2
    exit 1
fi
exec build/window/bul-pgia
