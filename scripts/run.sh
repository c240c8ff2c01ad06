#!/usr/bin/env bash
# Builds QOR System Editor and starts it under Wine, in the prefix named by
# WINEPREFIX (as it is) or else in a prefix of the project's own, inside a virtual desktop
# with its taskbar. Without a display it runs under Xvfb, takes a screenshot
# and says where it is. Usage: scripts/run.sh [win64|win32]
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
preset=${1:-win64}
bash scripts/setup.sh
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset"

# The user's own prefix is used as it is, with its own settings; only the
# project's own is prepared (virtual desktop with a taskbar, .reg association).
user_prefix=${WINEPREFIX:-}
QOR_TEST_PREFIX=${user_prefix:-$top/build/runprefix}
. scripts/wine-env.sh
headless=0
[ -z "${DISPLAY:-}" ] && headless=1
ensure_display
exe="$top/build/$preset/qorsysed.exe"
[ -n "$user_prefix" ] || ensure_prefix
if [ "$headless" = 0 ]; then
    exec $WINE "$exe"
fi
start_wineserver
$WINE "$exe" &
shot="$top/build/qorsysed-$preset.png"
$WINE "$top/build/$preset/tests/wait_window.exe" "QOR System Editor" 60
import -window root "$shot"
echo "QOR System Editor is running headless under Xvfb; screenshot: $shot"
stop_wineserver
stop_display
