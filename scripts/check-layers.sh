#!/usr/bin/env bash
# Checks that no file in src/ includes from a layer above its own. The layers, lowest first:
#   platform < settings < archive < games < finder < backups < packages < cli < ui < win32
#   < widgets < options < app
# A folder may include from its own layer and those below. Everything below widgets includes no
# Qt header: only the Qt window uses Qt. The Win32 window stands below the Qt one only so that
# it may include no Qt; nothing above it includes it, as it is built for Windows alone.
set -euo pipefail
cd "$(dirname "$0")/../src"

layers=(platform settings archive games finder backups packages cli ui win32 widgets options app)
first_qt_layer=widgets

rank() {
    local folder=${1%%/*} i
    for i in "${!layers[@]}"; do
        if [ "${layers[$i]}" = "$folder" ]; then
            echo "$i"
            return
        fi
    done
    echo -1
}
qt_rank=$(rank "$first_qt_layer/")

failures=0
while IFS= read -r file; do
    own=$(rank "$file")
    if [ "$own" -lt 0 ]; then
        echo "$file lies in no layer: add its folder to scripts/check-layers.sh" >&2
        failures=$((failures + 1))
        continue
    fi
    while IFS= read -r included; do
        theirs=$(rank "$included")
        [ "$theirs" -le "$own" ] && continue
        echo "$file includes $included, a layer above its own" >&2
        failures=$((failures + 1))
    done < <(sed -n 's/^#include "\([^"]*\)".*/\1/p' "$file")
    if [ "$own" -lt "$qt_rank" ]; then
        while IFS= read -r header; do
            echo "$file includes the Qt header $header, but only the Qt window uses Qt" >&2
            failures=$((failures + 1))
        done < <(sed -n 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*<\(Q[^>]*\)>.*/\1/p' "$file")
    fi
done < <(find . -name '*.cpp' -o -name '*.h' -o -name '*.c' | sed 's|^\./||' | sort)

if [ "$failures" -ne 0 ]; then
    echo "check-layers: $failures include(s) from a layer above, of Qt below the window, or outside any layer" >&2
    exit 1
fi
echo "check-layers: every include stays in its layer or below, and only the Qt window includes Qt"
