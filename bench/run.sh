#!/usr/bin/env bash
# Prints the program's timings beside their references, each the median of several runs,
# measured under Wine in a prefix of its own. Usage: bench/run.sh (after a win64 build)
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
QOR_TEST_PREFIX=$top/build/benchprefix
. scripts/wine-env.sh
ensure_display
ensure_prefix
start_wineserver
$WINE build/win64/bench/file_page_bench.exe
$WINE build/win64/bench/sysinfo_refresh_bench.exe 5
ls -l build/win64/qorsysed.exe build/win32/qorsysed.exe 2>/dev/null | awk '{print "size of " $NF ": " $5 " bytes"}'
stop_wineserver
stop_display
