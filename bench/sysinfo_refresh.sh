#!/usr/bin/env bash
# Benchmark of the SYSTEM INFO refresh with 5,000 uninstall entries, under Wine.
#   bench/sysinfo_refresh.sh BUILD_DIR [runs]
# BUILD_DIR is a configured and built win64 tree (its libqorcore.a is linked).
# The prefix is QOR_TEST_PREFIX, or build/prefix-bench.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "$1" && pwd)
runs=${2:-7}
export QOR_TEST_PREFIX=${QOR_TEST_PREFIX:-$top/build/prefix-bench}
. "$top/scripts/wine-env.sh"

exe=$build/bench/sysinfo_refresh_bench.exe
mkdir -p "$build/bench"
x86_64-w64-mingw32-g++-posix -std=c++17 -O2 -DNOMINMAX -D_WIN32_WINNT=0x0601 -DWINVER=0x0601 -I"$top" \
    "$top/bench/sysinfo_refresh_bench.cpp" "$build/libqorcore.a" \
    -static -fstack-protector-strong -lcomctl32 -lshell32 -ladvapi32 -lgdi32 -luser32 -o "$exe"

ensure_display
ensure_prefix
wineserver -p </dev/null >/dev/null 2>&1 || true
$WINE wineboot </dev/null >/dev/null 2>&1
status=0
$WINE "$exe" "$runs" </dev/null || status=$?
wineserver -k </dev/null >/dev/null 2>&1 || true
wineserver -w </dev/null >/dev/null 2>&1 || true
stop_display
exit "$status"
