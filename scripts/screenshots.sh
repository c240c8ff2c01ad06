#!/usr/bin/env bash
# Writes a PNG of each of the ten pages into build/screenshots/, and one of
# WIN.INI's Compare window against a backup that differs in a few lines, at
# 96 DPI and again at 144 DPI (names ending in -144dpi),
# running the win64 build under Xvfb in a prefix of its own that looks like a
# used machine: system files as Windows 98 leaves them, a default printer, and programs
# installed for all users (64-bit and 32-bit) and for the user alone.
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
crlf() { sed 's/$/\r/' > "$1"; }
crlf "$c/windows/win.ini" <<'INI'
[windows]
load=
run=
NullPort=None
device=HP LaserJet 4050 Series PCL6,winspool,LPT1:

[Desktop]
Wallpaper=(None)
TileWallpaper=0
WallpaperStyle=0
Pattern=(None)

[intl]
iCountry=1
sCountry=United States
sLanguage=enu
sShortDate=M/d/yy

[Ports]
LPT1:=
COM1:=9600,n,8,1,x

[mci extensions]
wav=waveaudio
mid=sequencer
avi=AVIVideo
INI
# A backup from before a few changes: another program started, another date
# format, a port that is gone since.
sed -e 's/^run=/run=C:\\TOOLS\\AGENT.EXE/' -e 's|^sShortDate=M/d/yy|sShortDate=dd.MM.yyyy|' \
    -e '/^\[mci extensions\]/i LPT2:=\r' "$c/windows/win.ini" > "$c/windows/winBU.ini"
crlf "$c/windows/system.ini" <<'INI'
[boot]
oemfonts.fon=vgaoem.fon
shell=Explorer.exe
system.drv=system.drv
drivers=mmsystem.dll power.drv
mouse.drv=mouse.drv
display.drv=pnpdrvr.drv

[386Enh]
woafont=dosapp.fon
EGA80WOA.FON=EGA80WOA.FON
mouse=*vmouse, msmouse.vxd
device=*vshare

[drivers]
wave=mmdrv.dll
timer=timer.drv

[mci]
cdaudio=mcicda.drv
sequencer=mciseq.drv
waveaudio=mciwave.drv
INI
crlf "$c/boot.ini" <<'INI'
[boot loader]
timeout=30
default=multi(0)disk(0)rdisk(0)partition(1)\WINDOWS
[operating systems]
multi(0)disk(0)rdisk(0)partition(1)\WINDOWS="Microsoft Windows XP Professional" /fastdetect
INI
crlf "$c/windows/control.ini" <<'INI'
[current]
color schemes=Windows Standard

[Screen Saver.Marquee]
Font=Times New Roman
INI
crlf "$c/autoexec.bat" <<'INI'
@ECHO OFF
SET TEMP=C:\WINDOWS\TEMP
PATH C:\WINDOWS;C:\WINDOWS\COMMAND
LH C:\WINDOWS\COMMAND\MSCDEX.EXE /D:MSCD001
INI
crlf "$c/config.sys" <<'INI'
DEVICE=C:\WINDOWS\HIMEM.SYS
DEVICE=C:\WINDOWS\EMM386.EXE NOEMS
FILES=40
BUFFERS=20
INI
# Installed programs: the 64-bit view, the 32-bit view (Wow6432Node) and the user's own key;
# one Explorer policy set.
crlf "$c/installed.reg" <<'REG'
REGEDIT4

[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows\CurrentVersion\Uninstall\7-Zip]
"DisplayName"="7-Zip 23.01 (x64)"
"UninstallString"="C:\\Program Files\\7-Zip\\Uninstall.exe"

[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows\CurrentVersion\Uninstall\{1C8E2B6A-5F0B-4C3D-9E7A-2B1D4C6E8F00}]
"DisplayName"="LibreOffice 7.6.4.1"
"UninstallString"="MsiExec.exe /I{1C8E2B6A-5F0B-4C3D-9E7A-2B1D4C6E8F00}"

[HKEY_LOCAL_MACHINE\Software\Wow6432Node\Microsoft\Windows\CurrentVersion\Uninstall\Notepad++]
"DisplayName"="Notepad++ (32-bit x86)"
"UninstallString"="\"C:\\Program Files (x86)\\Notepad++\\uninstall.exe\""

[HKEY_LOCAL_MACHINE\Software\Wow6432Node\Microsoft\Windows\CurrentVersion\Uninstall\VLC media player]
"DisplayName"="VLC media player"
"UninstallString"="\"C:\\Program Files (x86)\\VideoLAN\\VLC\\uninstall.exe\""

[HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Uninstall\{4F2A9C1E-7D3B-4E5F-8A6C-0B9D2E1F3A45}]
"DisplayName"="Python 3.12.1 (64-bit)"
"UninstallString"="MsiExec.exe /X{4F2A9C1E-7D3B-4E5F-8A6C-0B9D2E1F3A45}"

[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows\CurrentVersion\Policies\Explorer]
"NoRecentDocsMenu"=dword:00000001

[HKEY_CURRENT_USER\Software\Microsoft\Windows NT\CurrentVersion\Windows]
"device"="HP LaserJet 4050 Series PCL6,winspool,LPT1:"
REG
# The 64-bit registry editor: a 32-bit one would put the 64-bit programs'
# keys into the 32-bit view (Wow6432Node).
/usr/lib/wine/wine64 regedit /S 'C:\installed.reg' >/dev/null 2>&1
rm -f "$c/installed.reg"
# The prefix's DPI, which programs read when they start: 96 is 100 %, 144 is 150 %.
set_dpi() {
    $WINE reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1
}
# One PNG of each page and of the Compare window at DPI $1; names end in $2.
shoot() {
    set_dpi "$1"
    $WINE "$bin/qorsysed.exe" &
    $WINE "$bin/tests/wait_window.exe" "QOR System Editor" 60
    local i
    for i in "${!names[@]}"; do
        $WINE "$bin/tests/select_page.exe" "$i"
        import -window root "$out/page-$((i + 1))-${names[$i]}$2.png"
    done
    $WINE "$bin/tests/select_page.exe" 0
    $WINE "$bin/tests/click_button.exe" 42  # Compare
    $WINE "$bin/tests/wait_window.exe" "$compare" 30
    local geometry
    geometry=$($WINE "$bin/tests/window_geometry.exe" "$compare" | tr -d '\r')
    import -window root -crop "$geometry" +repage "$out/compare-winini$2.png"
    $WINE "$bin/tests/close_window.exe" "QOR System Editor" 30
}
names=(winini systemini bootini controlini autoexecbat configsys registrysettings controlpanel systeminfo about)
compare='Compare - c:\windows\win.ini with c:\windows\winBU.ini'
shoot 96 ""
shoot 144 -144dpi
set_dpi 96
stop_wineserver
stop_display
ls "$out"/*.png
