#!/usr/bin/env bash
# Runs the same commands with the Linux wendmoor-cli and with wendmoor-cli.exe under Wine, each
# on its own copy of the sample of all four games, and compares what they print and the trees
# they leave byte for byte. Only what must differ is made equal first: the sample's folder and
# its spelling (drive Z:, "\"), the line ends of the Windows console and the time in backup
# names. A package named with "ä", "€" and a Cyrillic letter is added, installed, listed and
# deinstalled on both.
#   scripts/compare-windows-cli.sh LINUX_BUILD WINDOWS_BUILD WORK_FOLDER
# WINE, WINEPREFIX and the other Wine variables come from the caller (scripts/windows-check.sh).
# Each side keeps its backups where it would for a player: $XDG_DATA_HOME on Linux (set to a
# folder of the comparison), the Wine prefix's profile on Windows.
set -euo pipefail

linux_cli=$1/src/cli/wendmoor-cli
sample_setup=$1/tools/sample_setup/wendmoor-sample-setup
windows_cli=$2/src/cli/wendmoor-cli.exe
work=$3
wine=${WINE:?}
# Starts with "Z", so that it sorts last under every collation of the list.
odd_name='Zäh €-Жара.zip'

rm -rf "$work"
mkdir -p "$work"
work=$(cd "$work" && pwd)

# The commands, one a line, fields separated by "|"; BACKUP stands for the newest backup's name.
commands=()
for game in caesar3 pharao zeus emperor; do
    commands+=("list|$game" "refs|$game")
done
while IFS= read -r line; do commands+=("$line"); done <<'EOF'
ADD
list|caesar3
deinstall|caesar3|ODD
list|caesar3
show|caesar3|Sicily.zip
install|caesar3|Sicily.zip
install|caesar3|Carthage.zip
install|caesar3|Rome Revisited.zip
install|pharao|Nile Valley.zip
install|pharao|Nile Flood.zip
install|pharao|Saves Only.zip
show|zeus|Troy.zip
install|zeus|Troy.zip
install|zeus|Olympia Saves.zip
install|emperor|Rome Campaign.zip
install|emperor|Silk Road.zip
refs|caesar3
refs|pharao
refs|zeus
refs|emperor
deinstall|caesar3|Rome Rising.zip
deinstall|zeus|Troy.zip
deinstall|emperor|Silk Road.zip
deinstall|pharao|Delta.zip
list|caesar3
list|pharao
list|zeus
list|emperor
backups|caesar3
backups|pharao
restore|caesar3|BACKUP
backups|caesar3
refs|caesar3
EOF

# run SIDE: makes the side's sample and runs every command, printing what it says.
run() {
    local side=$1 root=$work/$1/sample
    mkdir -p "$work/$side/data"
    "$sample_setup" -- "$root" >/dev/null
    cp "$root/missions/Caesar3/Sicily.zip" "$work/$side/$odd_name"
    local settings=$root/wendmoor-sample.ini prefix=$root/ native_root=$root/
    if [ "$side" = windows ]; then
        # The settings file's folders as Windows names (the INI escapes "\").
        settings=$work/windows/settings.ini
        sed -e '/=/{s|/|\\\\|g;s|=\\\\|=Z:\\\\|}' "$root/wendmoor-sample.ini" >"$settings"
        native_root="Z:${root//\//\\}\\"
        # Wine sets LOCALAPPDATA itself: the backups go to the prefix's profile, emptied here.
        rm -rf "$WINEPREFIX"/drive_c/users/*/AppData/Local/QARN
    fi
    local backup=""
    for command in "${commands[@]}"; do
        local -a words
        IFS='|' read -r -a words <<<"$command"
        case $command in
            ADD) words=(add caesar3 "$(native "$side" "$work/$side/$odd_name")" --install) ;;
        esac
        for i in "${!words[@]}"; do
            [ "${words[$i]}" = BACKUP ] && words[$i]=$backup
            [ "${words[$i]}" = ODD ] && words[$i]=$odd_name
        done
        local status=0 out
        # Through a file: Wine's helper processes, which live on with the server, would hold
        # a pipe open.
        if [ "$side" = windows ]; then
            "$wine" "$windows_cli" --settings "$(native windows "$settings")" "${words[@]}" >"$work/said" 2>&1 \
                </dev/null || status=$?
        else
            XDG_DATA_HOME="$work/linux/data" "$linux_cli" --settings "$settings" "${words[@]}" \
                >"$work/said" 2>&1 </dev/null || status=$?
        fi
        out=$(cat "$work/said")
        if [ "${words[0]}" = backups ] && [ -z "$backup" ]; then
            backup=$(printf '%s\n' "$out" | grep -o 'caesar3-[0-9]\{8\}-[0-9]\{6\}-[^[:space:]]*' | head -1 || true)
        fi
        printf '$ %s\n%s\n' "${words[*]}" "$out" | tr -d '\r' | sed -e "s|$(sed_quote "$native_root")|@/|gI" \
            -e "s|$(sed_quote "$(native "$side" "$work/$side/")")|@@/|gI" \
            -e 's|C:\\users\\[^\\]*\\AppData\\Local\\|@@/data/|gI' | tr '\\' '/' |
            sed -e 's/-[0-9]\{8\}-[0-9]\{6\}-/-DATE-/g' -e 's/[0-9]\{4\}-[0-9][0-9]-[0-9][0-9] [0-9:]\{5,8\}/TIME/g'
        echo "(status $status)"
    done
}

native() {
    if [ "$1" = windows ]; then
        local path=${2//\//\\}
        echo "Z:$path"
    else
        echo "$2"
    fi
}

sed_quote() { printf '%s' "$1" | sed -e 's/[][\\.*^$|/]/\\&/g'; }

tree() { (cd "$1" && find . -path ./data -prune -o -type f -print | LC_ALL=C sort | while IFS= read -r f; do
    printf '%s %s\n' "$(sha256sum <"$f" | cut -c1-16)" "$f"
done); }

run linux >"$work/linux.out"
run windows >"$work/windows.out"
tree "$work/linux/sample" | grep -v ' ./wendmoor-sample.ini$' >"$work/linux.tree"
tree "$work/windows/sample" | grep -v ' ./wendmoor-sample.ini$' >"$work/windows.tree"

status=0
diff -u "$work/linux.out" "$work/windows.out" || status=1
diff -u "$work/linux.tree" "$work/windows.tree" || status=1
if ! grep -q "$odd_name" "$work/linux.out"; then
    echo "compare-windows-cli: the package $odd_name never showed" >&2
    status=1
fi
if [ "$status" -ne 0 ]; then
    echo "compare-windows-cli: wendmoor-cli.exe differs from the Linux tool" >&2
    exit 1
fi
echo "compare-windows-cli: same output and same trees ($(grep -c '^\$ ' "$work/linux.out") commands)"
