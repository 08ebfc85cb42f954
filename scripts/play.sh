#!/usr/bin/env bash
# Installs only what playing needs, builds the game alone (Release, no tests,
# no benchmarks) in build-play/ and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh play
cmake -S . -B build-play -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DBUILD_TESTING=OFF -DBUL_PGIA_BENCH=OFF >/dev/null
ninja -C build-play bul-pgia
exec build-play/window/bul-pgia
