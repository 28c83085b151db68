#!/usr/bin/env bash
# Checks that no file in src/ includes from a layer above its own. The layers, lowest first:
#   platform < settings < packages < finder < ui < widgets < settings/dialog < app; cli; win32
# A folder may include from its own layer and those below. The command-line tool stands beside
# the windows: it includes the core and itself, not ui. The Win32 window stands beside the Qt
# one, at the level of app: it includes the core, ui and itself. The core, ui, cli and win32
# include no Qt header: only the Qt window uses Qt.
set -euo pipefail
cd "$(dirname "$0")/../src"

rank() {
    case "$1" in
        platform/*) echo 0 ;;
        settings/dialog/*) echo 6 ;;
        settings/*) echo 1 ;;
        packages/*) echo 2 ;;
        finder/*) echo 3 ;;
        ui/*) echo 4 ;;
        widgets/*) echo 5 ;;
        app/*) echo 7 ;;
        cli/*) echo 8 ;;
        win32/*) echo 9 ;;
        *) echo -1 ;;
    esac
}

failures=0
while IFS= read -r file; do
    own=$(rank "$file")
    while IFS= read -r included; do
        theirs=$(rank "$included")
        [ "$theirs" -ge 0 ] || continue
        # The command-line tool stands beside the window, not above it: the core and itself.
        if [ "$own" -eq 8 ]; then
            [ "$theirs" -le 3 ] || [ "$theirs" -eq 8 ] && continue
        # The Win32 window stands beside the Qt window: the core, ui and itself.
        elif [ "$own" -eq 9 ]; then
            [ "$theirs" -le 4 ] || [ "$theirs" -eq 9 ] && continue
        elif [ "$theirs" -le "$own" ]; then
            continue
        fi
        echo "$file includes $included, a layer above its own" >&2
        failures=$((failures + 1))
    done < <(sed -n 's/^#include "\([^"]*\)".*/\1/p' "$file")
    if [ "$own" -le 4 ] || [ "$own" -ge 8 ]; then
        while IFS= read -r header; do
            echo "$file includes the Qt header $header, but the core uses no Qt" >&2
            failures=$((failures + 1))
        done < <(sed -n 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*<\(Q[^>]*\)>.*/\1/p' "$file")
    fi
done < <(find . -name '*.cpp' -o -name '*.h' -o -name '*.c' | sed 's|^\./||' | sort)

if [ "$failures" -ne 0 ]; then
    echo "check-layers: $failures include(s) from a layer above or of Qt in the core, ui, cli or win32" >&2
    exit 1
fi
echo "check-layers: every include stays in its layer or below, and the core, ui, cli and win32 include no Qt"
