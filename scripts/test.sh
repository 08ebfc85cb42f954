#!/usr/bin/env bash
# Installs what the tests need, builds everything, the web page included, and
# runs every test. Tests that need an X server start their own Xvfb; the
# browser tests (label web) run headless chromium on the page's folder.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh play test web
page=$(scripts/web.sh | tail -n 1)
scripts/build.sh -DBUL_PGIA_WEB_PAGE="$page"
cd build
ctest --output-on-failure -j "$(nproc)" "$@"
