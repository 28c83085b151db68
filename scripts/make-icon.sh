#!/usr/bin/env bash
# Renders the program's icon, packaging/icon/wendmoor.ico, from its drawings: the 16 and 24
# pixel sizes from wendmoor-small.svg (drawn on whole pixels), 32 to 256 from wendmoor.svg.
# The .ico is committed, so the build needs no image tools; run this after changing either SVG.
# Needs rsvg-convert (librsvg2-bin) and ImageMagick's convert.
#   scripts/make-icon.sh
set -euo pipefail

icon=$(cd "$(dirname "$0")/../packaging/icon" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

sizes=()
for size in 16 24 32 48 64 256; do
    drawing=$icon/wendmoor.svg
    [ "$size" -lt 32 ] && drawing=$icon/wendmoor-small.svg
    rsvg-convert -w "$size" -h "$size" "$drawing" -o "$work/$size.png"
    sizes+=("$work/$size.png")
done
# ImageMagick stores the 256 size as PNG inside the .ico (as Windows reads it since Vista) and
# the smaller ones as 32-bit bitmaps with alpha, which every Windows and NSIS read. No dates in
# it: the same drawings give the same bytes.
convert "${sizes[@]}" -strip -define png:exclude-chunks=date,time "$icon/wendmoor.ico"
ls -l "$icon/wendmoor.ico"
