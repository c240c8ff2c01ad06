#!/usr/bin/env bash
# Includes only go down: platform <- core <- ui <- the page folders <- app. A page
# folder includes no other page folder. Prints each include that goes up or
# across and fails if there is one. Usage: scripts/check-layers.sh
set -euo pipefail
cd "$(dirname "$0")/.."

allowed() {  # the folders a folder's files may include from
    case $1 in
        platform) echo "platform" ;;
        core) echo "platform core" ;;
        ui) echo "platform core ui" ;;
        sysfiles | tweaks | launcher | sysinfo | about) echo "platform core ui $1" ;;
        app) echo "platform core ui sysfiles tweaks launcher sysinfo about app" ;;
    esac
}

status=0
for folder in platform core ui sysfiles tweaks launcher sysinfo about app; do
    ok=" $(allowed "$folder") "
    while IFS=: read -r file line include; do
        target=$(sed -n 's/^#include "\([a-z]*\)\/.*/\1/p' <<<"$include")
        [ -z "$target" ] && continue
        if [[ "$ok" != *" $target "* ]]; then
            echo "$file:$line: $folder must not include $target: $include"
            status=1
        fi
    done < <(grep -n '^#include "' "$folder"/*.h "$folder"/*.cpp 2>/dev/null || true)
done
exit "$status"
