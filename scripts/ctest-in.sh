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
# Wine's X11 driver now and then ends a test program with "X Error of failed
# request: BadWindow (X_DestroyWindow)" while it tears windows down; a test
# program that fails twice in a row fails the run.
ctest --test-dir "$build" --output-on-failure --no-tests=error --repeat until-pass:2 "$@" || status=$?
stop_wineserver
stop_display
exit "$status"
