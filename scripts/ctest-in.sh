#!/usr/bin/env bash
# Runs ctest for one build folder under Wine, with the display and the Wine
# server set up: scripts/ctest-in.sh BUILD_DIR [ctest arguments...]
# The prefix is build/wineprefix unless QOR_TEST_PREFIX names another.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=$1
shift
. "$top/scripts/wine-env.sh"
ensure_display
ensure_prefix
start_wineserver
status=0
ctest --test-dir "$build" --output-on-failure --no-tests=error "$@" || status=$?
stop_wineserver
stop_display
exit "$status"
