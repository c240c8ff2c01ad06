#!/usr/bin/env bash
# Runs the whole test suite of each build with Wine reporting each Windows
# version in turn, in a prefix of its own, and prints one line per build and
# version. Usage: scripts/version-matrix.sh [versions...]
# (default: win98 winxp64 win7 win10)
set -uo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
versions=("$@")
[ ${#versions[@]} -gt 0 ] || versions=(win98 winxp64 win7 win10)
export QOR_TEST_PREFIX=$top/build/matrixprefix
. scripts/wine-env.sh
builds=(win64)
[ "$QOR_RUNS_WIN32" = 1 ] && builds+=(win32)
ensure_display
ensure_prefix
results=()
for version in "${versions[@]}"; do
    $WINE reg add 'HKCU\Software\Wine' /v Version /d "$version" /f >/dev/null 2>&1
    wineserver -w
    for build in "${builds[@]}"; do
        log="build/matrix-$build-$version.log"
        if bash scripts/ctest-in.sh "build/$build" >"$log" 2>&1; then outcome=passed; else outcome=FAILED; fi
        results+=("$build $version: $outcome, $(grep -E 'tests passed' "$log" | tail -n 1) (log: $log)")
    done
done
$WINE reg delete 'HKCU\Software\Wine' /v Version /f >/dev/null 2>&1
wineserver -w
stop_display
[ "$QOR_RUNS_WIN32" = 1 ] || results+=("win32: NOT RUN, 32-bit programs cannot execute on this machine")
printf '%s\n' "${results[@]}"
