#!/usr/bin/env bash
# Writes a PNG of each of the ten pages into build/screenshots/, running the
# win64 build under Xvfb in the test prefix with sample system files on drive C.
# Usage: scripts/screenshots.sh (after scripts/test.sh or a build of win64)
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
bin=build/win64
out=build/screenshots
mkdir -p "$out"
unset DISPLAY
# A prefix of its own, so that no test's registry or files show up.
QOR_TEST_PREFIX=$top/build/shotprefix
. scripts/wine-env.sh
ensure_display
ensure_prefix
start_wineserver
c="$WINEPREFIX/drive_c"
printf '[windows]\r\nload=\r\nrun=\r\n\r\n[Desktop]\r\nWallpaper=(None)\r\n' > "$c/windows/win.ini"
printf '[boot]\r\nshell=Explorer.exe\r\nsystem.drv=system.drv\r\n\r\n[386Enh]\r\nwoafont=dosapp.fon\r\n' > "$c/windows/system.ini"
printf '[boot loader]\r\ntimeout=30\r\ndefault=multi(0)disk(0)rdisk(0)partition(1)\\WINDOWS\r\n' > "$c/boot.ini"
printf '[current]\r\ncolor schemes=Windows Standard\r\n' > "$c/windows/control.ini"
printf '@ECHO OFF\r\nSET TEMP=C:\\WINDOWS\\TEMP\r\nPATH C:\\WINDOWS;C:\\WINDOWS\\COMMAND\r\n' > "$c/autoexec.bat"
printf 'DEVICE=C:\\WINDOWS\\HIMEM.SYS\r\nFILES=40\r\nBUFFERS=20\r\n' > "$c/config.sys"
$WINE "$bin/qorsysed.exe" &
$WINE "$bin/tests/wait_window.exe" "QOR System Editor" 60
names=(winini systemini bootini controlini autoexecbat configsys registrysettings controlpanel systeminfo about)
for i in "${!names[@]}"; do
    $WINE "$bin/tests/select_page.exe" "$i"
    import -window root "$out/page-$((i + 1))-${names[$i]}.png"
done
stop_wineserver
stop_display
ls "$out"/*.png
