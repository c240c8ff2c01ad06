#!/usr/bin/env bash
# Runs a Windows program under Wine in the project's own prefix (ctest's
# emulator): `wine-run.sh program.exe args...`.
set -eu
. "$(dirname "$0")/wine-env.sh"
ensure_prefix
exec $WINE "$@"
