#!/usr/bin/env bash
# Installs what the tests need, builds everything and runs every test.
# Tests that need an X server start their own Xvfb.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh play test
scripts/build.sh
cd build
ctest --output-on-failure -j "$(nproc)" "$@"
