#!/usr/bin/env bash
# Runs ctest for one build folder under Wine, with the display and the Wine
# server set up: scripts/ctest-in.sh BUILD_DIR [ctest arguments...]
# The prefix is build/wineprefix unless QOR_TEST_PREFIX names another.
# Two test programs run at a time; those that drive the real program run
# alone (RUN_SERIAL in tests/CMakeLists.txt).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=$1
shift
. "$top/scripts/wine-env.sh"
ensure_display
ensure_prefix
start_wineserver

# Wine's X11 driver now and then ends a test program with "X Error of failed
# request: BadWindow (X_DestroyWindow)" while it tears windows down. A failed
# program whose output shows that message gets one more run; when any other
# failure is among them, nothing is run again.
crash='X Error of failed request|BadWindow'
temporary="$build/Testing/Temporary"
log=$(mktemp)
trap 'rm -f "$log"' EXIT

# The output of one test program in ctest's log of the last run.
output_of() {
    awk -v name="$1" '$0 ~ "^[0-9]+/[0-9]+ Testing: " && $3 == name { on = 1 }
                      on { print }
                      on && index($0, "\"" name "\" end time:") == 1 { exit }' "$temporary/LastTest.log"
}

set +e
ctest --test-dir "$build" --output-on-failure --no-tests=error -j2 "$@" 2>&1 | tee "$log"
status=${PIPESTATUS[0]}
set -e
if [ "$status" -ne 0 ] && [ -s "$temporary/LastTestsFailed.log" ]; then
    crashed=()
    other=0
    while IFS=: read -r _ name; do
        if output_of "$name" | grep -Eq "$crash"; then crashed+=("$name"); else other=1; fi
    done <"$temporary/LastTestsFailed.log"
    total=$(grep -Eo 'tests failed out of [0-9]+' "$log" | tail -n 1 | grep -Eo '[0-9]+$' || true)
    if [ "$other" = 0 ] && [ "${#crashed[@]}" -gt 0 ] && [ -n "$total" ]; then
        echo "RETRY: Wine's X11 driver crashed (\"X Error of failed request\", BadWindow) in ${crashed[*]};" \
            "running $([ "${#crashed[@]}" = 1 ] && echo it || echo them) once more"
        set +e
        ctest --test-dir "$build" --output-on-failure --no-tests=error -R "^($(IFS='|'; echo "${crashed[*]}"))\$"
        status=$?
        set -e
        failed=0
        if [ "$status" -ne 0 ]; then
            failed=$(grep -c . "$temporary/LastTestsFailed.log" 2>/dev/null) || failed=${#crashed[@]}
        fi
        passed=$((total - failed))
        percent=$(((passed * 200 + total) / (2 * total)))
        [ "$failed" -gt 0 ] && [ "$percent" = 100 ] && percent=99
        echo
        echo "Whole run, with the retry: $percent% tests passed, $failed tests failed out of $total"
    fi
fi
stop_wineserver
stop_display
exit "$status"
