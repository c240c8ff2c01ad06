#!/usr/bin/env bash
# The real program's command line under Wine: each switch's exit code, what it
# prints and the files it writes; the JSON read back by Python's json module.
# Run by ctest inside scripts/ctest-in.sh (display, prefix and Wine server set
# up): command_line_e2e.sh PATH/qorsysed.exe
set -uo pipefail
program=$1
top=$(cd "$(dirname "$0")/../.." && pwd)
. "$top/scripts/wine-env.sh"
c=$WINEPREFIX/drive_c
work=$(mktemp -d)
# Registry keys through the 64-bit side, whichever of Wine's loaders $WINE is.
wine64=/usr/lib/wine/wine64
failures=0

check() {
    local what=$1
    shift
    if "$@"; then echo "ok: $what"; else echo "FAILED: $what"; failures=$((failures + 1)); fi
}
# Runs the program with the arguments given; keeps its exit code, output and errors.
run() {
    $WINE "$program" "$@" >"$work/out" 2>"$work/err"
    code=$?
}
# The registry as it is, to tell any change afterwards. Not HKLM\System:
# Wine's display driver rewrites its own keys there whenever a program starts.
snapshot() {
    $wine64 reg export 'HKLM\Software' 'c:\qor-hklm.reg' /y >/dev/null 2>&1
    $wine64 reg export HKCU 'c:\qor-hkcu.reg' /y >/dev/null 2>&1
    cat "$c/qor-hklm.reg" "$c/qor-hkcu.reg" >"$work/$1.reg"
    rm -f "$c/qor-hklm.reg" "$c/qor-hkcu.reg"
}
cp "$c/windows/win.ini" "$work/win.ini"
cp "$c/windows/system.ini" "$work/system.ini"
cleanup() {
    cp "$work/win.ini" "$c/windows/win.ini"
    cp "$work/system.ini" "$c/windows/system.ini"
    rm -f "$c/windows/winBU.ini" "$c/windows/systemBU.ini" "$c/qor report.txt" "$c/qor.json"
    $wine64 reg delete 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\QorCli64' /f >/dev/null 2>&1
    $wine64 reg delete 'HKLM\Software\Wow6432Node\Microsoft\Windows\CurrentVersion\Uninstall\QorCli32' /f >/dev/null 2>&1
    $wine64 reg delete 'HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\QorCliUser' /f >/dev/null 2>&1
    rm -rf "$work"
}
trap cleanup EXIT

# Usage, and a switch it does not know: exit code 2 and nothing changed.
run '/?'
check "/? exits 0 and names every switch" test "$code" = 0 -a "$(grep -c -e ' /report FILE' -e ' /json FILE' \
    -e ' /backup' -e ' /apply' "$work/out")" = 4
snapshot before
touch "$work/marker"
run /restore
check "an unknown switch exits 2" test "$code" = 2
check "it says what it did not understand, then the usage, all on standard error" test ! -s "$work/out" -a \
    "$(grep -c -e '^Not understood: /restore' -e '^Usage:' "$work/err")" = 2
check "nothing on drive C changed" test -z "$(find "$c" -newer "$work/marker" -print -quit)"
snapshot after
check "nothing in the registry changed" cmp -s "$work/before.reg" "$work/after.reg"
run /report
check "a missing FILE is bad usage" test "$code" = 2

# Programs recorded in the three places, with names the code page has and
# characters JSON escapes.
printf 'REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\QorCli64]\r\n"DisplayName"="Z\xe9ta Tool"\r\n\r\n[HKEY_LOCAL_MACHINE\\Software\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\QorCli32]\r\n"DisplayName"="Say \\"hi\\" \\\\ Tool"\r\n\r\n[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\QorCliUser]\r\n"DisplayName"="Own Tool"\r\n' >"$c/qor-cli.reg"
$wine64 regedit /S 'c:\qor-cli.reg' >/dev/null 2>&1
rm -f "$c/qor-cli.reg"

run /json -
check "/json - exits 0" test "$code" = 0
cp "$work/out" "$work/stdout.json"
run /report -
check "/report - exits 0" test "$code" = 0
cp "$work/out" "$work/stdout.txt"
run /json 'c:\qor.json'
check "/json FILE exits 0 and says so" test "$code" = 0 -a "$(tr -d '\r' <"$work/out")" = 'c:\qor.json: JSON written'
run /report 'c:\qor report.txt'
check "/report FILE exits 0" test "$code" = 0
# The facts that change from one moment to the next aside, the report to a
# file is the one on standard output.
steady() { grep -a -v -e '^Free Memory' -e '^Memory In Use' -e '^CPU Speed' "$1"; }
check "/report FILE writes what /report - prints" cmp -s <(steady "$c/qor report.txt") <(steady "$work/stdout.txt")
check "JSON on standard output and in a file read back alike" python3 - "$work/stdout.json" "$c/qor.json" "$work/stdout.txt" <<'PY'
import json, sys
out, file = (json.load(open(path, encoding="utf-8")) for path in sys.argv[1:3])
report = open(sys.argv[3], encoding="cp1252", newline="").read()
assert report.endswith("\r\n") and "\n" not in report.replace("\r\n", ""), "CR+LF lines"
facts_text, software_text = report.split("\r\n\r\n")
names = ["Computername", "Windows Username", "Windows Version", "Processor", "Physical Memory", "Free Memory",
         "Memory In Use", "NIC Macadress", "CPU Speed", "Default Printer", "System Language",
         "Harddisk Serial Number (C:)"]
for data in (out, file):
    assert list(data) == ["facts", "installedSoftware"], list(data)
    assert list(data["facts"]) == names, list(data["facts"])
    assert data["facts"]["Harddisk Serial Number (C:)"] == "Label = MYDISK   VolSer = 1234ABCD"
    programs = {(p["name"], p["recordedIn"]) for p in data["installedSoftware"]}
    expected = {("Z\u00e9ta Tool", "64-bit"), ('Say "hi" \\ Tool', "32-bit"), ("Own Tool", "user")}
    assert expected <= programs, programs
    # The same facts as the report, caption by caption, where they cannot change meanwhile.
    for line, name in zip(facts_text.split("\r\n"), names):
        caption, _, value = line.partition(" : ")
        assert caption.rstrip(" :") == name, (caption, name)
        if name not in ("Free Memory", "Memory In Use", "CPU Speed"):
            assert value.strip() == data["facts"][name], (value, data["facts"][name])
    listed = software_text.split("\r\n")[1:-1]
    assert listed == [p["name"] for p in data["installedSoftware"]], (listed, data["installedSoftware"])
PY

# Back Up of each file that exists and loads whole; never a backup of less than its file.
printf '[a]\nx=1\n' >"$c/windows/win.ini"
printf '[b]\r\n\0tail' >"$c/windows/system.ini"
printf 'older backup' >"$c/windows/systemBU.ini"
rm -f "$c/windows/winBU.ini" "$c/boot.ini"
run /backup
check "/backup exits 1 when a file is not backed up" test "$code" = 1
check "the whole file is backed up as its editor holds it" cmp -s "$c/windows/winBU.ini" <(printf '[a]\r\nx=1\r\n')
check "a backup is not replaced by less than its file" test "$(cat "$c/windows/systemBU.ini")" = 'older backup'
check "one line for each file written or missing" test "$(tr -d '\r' <"$work/out" | grep -c -e 'backed up to' -e 'not found')" = 5
check "the files backed up and missing are named" test "$(grep -c -e '^c:\\boot.ini: not found, nothing to back up' \
    -e '^c:\\windows\\win.ini: backed up to c:\\windows\\winBU.ini' "$work/out")" = 2
check "the refused file is named with the reason" grep -q \
    'c:\\windows\\system.ini: not backed up: an editor would not hold all of it: 5 bytes from a zero byte on' "$work/err"

echo "$failures failed"
[ "$failures" = 0 ]
