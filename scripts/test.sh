#!/usr/bin/env bash
# Builds both Windows targets and runs every test under Wine, headless when
# there is no display. Usage: scripts/test.sh
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
bash scripts/setup.sh
bash scripts/check-layers.sh
for preset in win64 win32; do
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset"
done

. scripts/wine-env.sh
status=0
bash scripts/ctest-in.sh build/win64 || status=1
if [ "$QOR_RUNS_WIN32" = 1 ]; then
    bash scripts/ctest-in.sh build/win32 || status=1
else
    echo "NOT RUN: the i686 tests; this machine can execute 32-bit programs neither natively nor under qemu-i386, so Wine cannot run them (the i686 build was compiled)."
fi
exit "$status"
