# Sourced by the other scripts: the Wine environment of the project's own
# prefix. Never the user's ~/.wine.
top=${top:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}
export WINEPREFIX=${QOR_TEST_PREFIX:-$top/build/wineprefix}
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES="mscoree,mshtml="

# Debian's `wine` picks the 32-bit loader whenever it is installed, and that
# loader cannot start on a kernel without 32-bit support unless setup.sh
# registered qemu-i386 for it: use the 64-bit one there. QOR_RUNS_WIN32 says
# whether i686 programs can run at all.
if /usr/lib/wine/wine --version >/dev/null 2>&1; then
    WINE=wine
    QOR_RUNS_WIN32=1
else
    WINE=/usr/lib/wine/wine64
    export WINELOADER=$WINE
    QOR_RUNS_WIN32=0
fi

# Wine's own fonts (package fonts-wine) into the prefix's Fonts folder. Debian's
# Wine does not look for them where the package puts them; without them the
# title bar's buttons show letters and "MS Sans Serif" falls back to a wider
# face. Wine reads the folder when its server starts.
copy_wine_fonts() {
    local fonts="$WINEPREFIX/drive_c/windows/Fonts"
    mkdir -p "$fonts"
    cp /usr/share/wine/fonts/* "$fonts/"
}

# Creates the prefix once: Wine's fonts, virtual desktop with a taskbar, and
# the .reg association Windows has, so the registry editor imports policy files.
# A prefix made while 32-bit programs could not run lacks Wine's 32-bit half,
# so the marker says which kind it is.
ensure_prefix() {
    local ready="$WINEPREFIX/.qor-ready-4-win32-$QOR_RUNS_WIN32"
    [ -f "$ready" ] && return
    case "$WINEPREFIX" in
        "$top"/build/*) ;;
        *) echo "not setting up $WINEPREFIX: only the project's own prefixes under build/ are prepared" >&2
           return 1 ;;
    esac
    rm -rf "$WINEPREFIX"
    mkdir -p "$WINEPREFIX"
    copy_wine_fonts
    $WINE wineboot -i </dev/null >/dev/null 2>&1
    local r="$WINE reg add"
    $r 'HKCU\Software\Wine\Explorer' /v Desktop /d shell /f >/dev/null 2>&1
    $r 'HKCU\Software\Wine\Explorer\Desktops' /v shell /d 1024x768 /f >/dev/null 2>&1
    $r 'HKCR\.reg' /ve /d regfile /f >/dev/null 2>&1
    $r 'HKCR\regfile\shell\open\command' /ve /d 'regedit.exe "%1"' /f >/dev/null 2>&1
    # Drive C's volume label and serial, which Wine reads when its server starts.
    printf 'MYDISK' > "$WINEPREFIX/drive_c/.windows-label"
    printf '1234abcd' > "$WINEPREFIX/drive_c/.windows-serial"
    wineserver -w
    touch "$ready"
}

# Starts Xvfb when there is no display; the caller stops it with stop_display.
xvfb_pid=
ensure_display() {
    [ -n "${DISPLAY:-}" ] && return
    local n
    for n in $(seq 90 120); do
        [ -e "/tmp/.X$n-lock" ] && continue
        Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
        xvfb_pid=$!
        export DISPLAY=":$n"
        local i
        for i in $(seq 1 100); do
            xdpyinfo >/dev/null 2>&1 && return
            sleep 0.1
        done
        kill "$xvfb_pid" 2>/dev/null || true
    done
    echo "cannot start Xvfb" >&2
    return 1
}

# A fresh Wine server for this prefix, kept running: a server left from an
# earlier run may belong to a display that is gone. Wine's helpers started by
# it do not hold the caller's output pipe open.
start_wineserver() {
    wineserver -k </dev/null >/dev/null 2>&1 || true
    wineserver -w </dev/null >/dev/null 2>&1 || true
    wineserver -p </dev/null >/dev/null 2>&1 || true
    $WINE wineboot </dev/null >/dev/null 2>&1
}

stop_wineserver() {
    wineserver -k </dev/null >/dev/null 2>&1 || true
    wineserver -w </dev/null >/dev/null 2>&1 || true
}

stop_display() {
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
}
