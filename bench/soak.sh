#!/usr/bin/env bash
# Long use of the real program under Wine, watching for leaks.
#   bench/soak.sh [rounds]   (after a win64 build)
# Each round: ten page activations, two saves, two backups, two toggle
# presses; 100 rounds unless told. Runs in a prefix of its own.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
rounds=${1:-100}
export QOR_TEST_PREFIX=$top/build/soakprefix
. "$top/scripts/wine-env.sh"
ensure_display
ensure_prefix
start_wineserver
status=0
$WINE "$top/build/win64/bench/soak.exe" "$rounds" </dev/null || status=$?
stop_wineserver
stop_display
exit "$status"
