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
echo "load before: $(uptime)"
$WINE build/win64/bench/file_page_bench.exe
$WINE build/win64/bench/sysinfo_refresh_bench.exe 5

# GNU diff on the 8 MB pair the Compare figure is set beside: the median of
# nine runs, in milliseconds, on the prefix's own files.
$WINE build/win64/bench/long_click_bench.exe pair
pair="$WINEPREFIX/drive_c/windows"
gnu_diff_ms=$(for _ in 1 2 3 4 5 6 7 8 9; do
    start=$(date +%s%N)
    diff "$pair/win.ini" "$pair/winBU.ini" >/dev/null || true
    echo $((($(date +%s%N) - start) / 1000))
done | sort -n | sed -n 5p | awk '{printf "%.1f", $1 / 1000}')
$WINE build/win64/bench/long_click_bench.exe "$gnu_diff_ms" 5
# A small WIN.INI again, as a benchmark run alone expects to start with.
printf '[windows]\r\nload=\r\n' >"$pair/win.ini"
rm -f "$pair/winBU.ini"
echo "load after: $(uptime)"
for exe in build/win64/qorsysed.exe build/win32/qorsysed.exe; do
    if [ -f "$exe" ]; then echo "size of $exe: $(stat -c %s "$exe") bytes"; fi
done
stop_wineserver
stop_display
