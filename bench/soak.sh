#!/usr/bin/env bash
# Long use of the real program under Wine, watching for leaks.
#   bench/soak.sh BUILD_DIR [rounds]
# BUILD_DIR is a configured and built win64 tree (its qorsysed.exe is driven,
# its test support library linked). Each round: ten page activations, two
# saves, two backups, two toggle presses; 100 rounds unless told.
# The prefix is QOR_TEST_PREFIX, or build/prefix-bench.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "$1" && pwd)
rounds=${2:-100}
export QOR_TEST_PREFIX=${QOR_TEST_PREFIX:-$top/build/prefix-bench}
. "$top/scripts/wine-env.sh"

# Beside the test programs, where the support library looks for qorsysed.exe.
exe=$build/tests/soak.exe
x86_64-w64-mingw32-g++-posix -std=c++17 -O2 -DNOMINMAX -D_WIN32_WINNT=0x0601 -DWINVER=0x0601 \
    -I"$top/tests" -I/usr/src/googletest/googletest/include \
    "$top/bench/soak.cpp" "$build/tests/libqortestsupport.a" "$build/lib/libgtest.a" \
    -static -fstack-protector-strong -lpsapi -luser32 -lgdi32 -o "$exe"

ensure_display
ensure_prefix
wineserver -p </dev/null >/dev/null 2>&1 || true
$WINE wineboot </dev/null >/dev/null 2>&1
status=0
$WINE "$exe" "$rounds" </dev/null || status=$?
wineserver -k </dev/null >/dev/null 2>&1 || true
wineserver -w </dev/null >/dev/null 2>&1 || true
stop_display
exit "$status"
