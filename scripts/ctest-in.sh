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
# A running server keeps Wine's helpers off ctest's output pipe.
wineserver -p </dev/null >/dev/null 2>&1 || true
$WINE wineboot </dev/null >/dev/null 2>&1
status=0
ctest --test-dir "$build" --output-on-failure --no-tests=error "$@" || status=$?
wineserver -k </dev/null >/dev/null 2>&1 || true
wineserver -w </dev/null >/dev/null 2>&1 || true
stop_display
exit "$status"
