#!/usr/bin/env bash
# Builds QOR System Editor and starts it under Wine, in the prefix named by
# WINEPREFIX or else in a prefix of the project's own, inside a virtual desktop
# with its taskbar. Without a display it runs under Xvfb, takes a screenshot
# and says where it is. Usage: scripts/run.sh [win64|win32]
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
preset=${1:-win64}
bash scripts/setup.sh
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset"

QOR_TEST_PREFIX=${WINEPREFIX:-$top/build/runprefix}
. scripts/wine-env.sh
headless=0
[ -z "${DISPLAY:-}" ] && headless=1
ensure_display
ensure_prefix
exe="$top/build/$preset/qorsysed.exe"
if [ "$headless" = 0 ]; then
    $WINE "$exe"
    exit 0
fi
$WINE "$exe" &
shot="$top/build/qorsysed-$preset.png"
for _ in $(seq 1 100); do
    sleep 0.2
    wmctrl -l 2>/dev/null | grep -q 'QOR System Editor' && break
done
sleep 2
import -window root "$shot"
echo "QOR System Editor is running headless; screenshot: $shot"
wineserver -k
stop_display
