#!/usr/bin/env bash
# Kills wendmoor-cli with SIGKILL at random moments of install, deinstall and restore, then runs
# the next command of the same kind and counts what the kill left behind: temporary files of
# ours in the game folders and in the backup store, backups of not one file, and packages
# that neither install nor deinstall can finish. A developer's tool, not part of the tests.
#
#   scripts/kill-trial.sh [ROUNDS] [FILES]      (defaults: 60 rounds, 101 files)
#
# The CLI comes from build/ (or $WENDMOOR_BUILD_DIR); everything happens in a temporary folder.
set -euo pipefail

rounds=${1:-60}
files=${2:-101}
root_dir=$(cd "$(dirname "$0")/.." && pwd)
cli=${WENDMOOR_BUILD_DIR:-$root_dir/build}/src/cli/wendmoor-cli
[[ -x $cli ]] || { echo "no $cli: build wendmoor-cli first" >&2; exit 2; }

trial=$(mktemp -d /tmp/wendmoor-kill-trial-XXXXXX)
trap 'rm -rf "$trial"' EXIT
game=$trial/Caesar3/
missions=$trial/missions/
mkdir -p "$game" "$missions"
export XDG_DATA_HOME=$trial/data
store=$XDG_DATA_HOME/QARN/backups
printf '[General]\ncaesar3_path=%s\ncaesar3_missions=%s\n' "$game" "$missions" >"$trial/settings.ini"

# One package of many files and a second one sharing its first map.
python3 - "$missions" "$files" <<'EOF'
import sys, zipfile
folder, count = sys.argv[1], int(sys.argv[2])
with zipfile.ZipFile(folder + "many.zip", "w", zipfile.ZIP_STORED) as z:
    for i in range(count):
        z.writestr(f"m{i}.map" if i % 2 else f"s{i}.sav", b"package bytes %d " % i * 200)
with zipfile.ZipFile(folder + "other.zip", "w") as z:
    z.writestr("m1.map", b"package bytes 1 " * 200)
    z.writestr("other.sav", b"other")
EOF

run() { "$cli" --settings "$trial/settings.ini" "$@"; }
ours() {
    find "$game" "$store" -name '.wendmoor-*' 2>/dev/null | wc -l
}
# Read straight from the manifests: listing them would sweep the store first.
empty_backups() {
    local count=0 manifest
    for manifest in "$store"/*/manifest; do
        [[ -f $manifest ]] && ! grep -q "^file"$'\t' "$manifest" && count=$((count + 1))
    done
    echo "$count"
}
# Player's own bytes in every file, so installs and deinstalls keep backups.
play() {
    for f in "$game"*; do [[ -f $f ]] && printf 'played %s' "$RANDOM" >"$f"; done
    return 0
}

# Files of many.zip in place while it is not listed as installed: what a cut-off deinstall left
# (m1.map is other.zip's too).
orphans() {
    if run list caesar3 | grep -qx 'I many.zip'; then echo 0; return; fi
    find "$game" -type f \( -name 'm*.map' -o -name 's*.sav' \) ! -name m1.map | wc -l
}

kills=0 after_kill=0 leftovers=0 empty=0 stuck=0 orphaned=0
run install caesar3 other.zip >/dev/null
for ((round = 1; round <= rounds; round++)); do
    case $((round % 3)) in
        0) command=(install caesar3 many.zip) ;;
        1) command=(deinstall caesar3 many.zip) ;;
        2) command=(restore caesar3 "$(run backups caesar3 | head -1 | cut -f1)" --force) ;;
    esac
    [[ ${command[0]} == deinstall ]] && { run install caesar3 many.zip >/dev/null 2>&1 || true; play; }
    [[ ${command[0]} == install ]] && play
    run "${command[@]}" >/dev/null 2>&1 &
    pid=$!
    sleep "$(awk -v r=$RANDOM 'BEGIN { printf "%.3f", 0.005 + r / 32767 * 0.8 }')"
    if kill -9 "$pid" 2>/dev/null; then kills=$((kills + 1)); fi
    wait "$pid" 2>/dev/null || true
    after_kill=$((after_kill + $(ours)))
    # The next command of the same kind must clean up and finish what was cut off.
    if ! run "${command[@]}" >/dev/null 2>"$trial/err"; then
        grep -q 'is not in\|nothing was restored\|no backup' "$trial/err" || stuck=$((stuck + 1))
    fi
    leftovers=$((leftovers + $(ours)))
    empty=$((empty + $(empty_backups)))
    [[ ${command[0]} == deinstall ]] && orphaned=$((orphaned + $(orphans)))
done

echo "rounds: $rounds, kills: $kills"
echo "temporary files of ours right after the kills: $after_kill"
echo "temporary files left after the next command: $leftovers"
echo "backups of not one file after the next command: $empty"
echo "next commands that failed: $stuck"
echo "files of a package not installed left after its next deinstall: $orphaned"
