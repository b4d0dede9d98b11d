#!/usr/bin/env bash
# Regenerates resources/flags: renders the flag-icons artwork (npm package, MIT licence,
# installed into a scratch folder and never committed) with rsvg-convert, converts it to
# PPM with ImageMagick and lets mkflags reduce it to 4-bit bitmaps; codes without artwork
# get mkflags' own designs. Writes a montage of all flags to the given build folder.
# Usage: tools/mkflags/generate.sh [build folder]
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-$root/build/mkflags}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$build" "$work/npm" "$work/ppm" "$work/out"

(cd "$work/npm" && npm install --silent --no-audit --no-fund flag-icons@7 >/dev/null)
svg="$work/npm/node_modules/flag-icons/flags/4x3"

# Flag codes whose artwork has another name there.
declare -A alias=([CAT]=es-ct [EUS]=es-pv [CYM]=gb-wls [GDH]=gb-sct [XGL]=es-ga [XUN]=un)
scale=8
g++ -std=c++17 -O2 -Wall -Wextra "$root/tools/mkflags/mkflags.cpp" -o "$work/mkflags"
codes=$("$work/mkflags" --codes)
for code in $codes; do
    file=${alias[$code]:-$(echo "$code" | tr 'A-Z' 'a-z')}
    [ -f "$svg/$file.svg" ] || continue
    w=23 h=15
    if [ "$code" = CM ] || [ "$code" = SR ]; then w=25 h=17; fi
    rsvg-convert -w $((w * scale)) -h $((h * scale)) "$svg/$file.svg" -o "$work/$code.png"
    convert "$work/$code.png" -background white -flatten -depth 8 "ppm:$work/ppm/$code.ppm"
done

"$work/mkflags" "$work/ppm" "$work/out"
rm -f "$root/resources/flags/"FLG_*.bmp
cp "$work/out/"FLG_*.bmp "$root/resources/flags/"

font=()
for f in /usr/share/fonts/truetype/dejavu/DejaVuSans.ttf; do [ -f "$f" ] && font=(-font "$f"); done
montage "${font[@]}" -label '%t' $(ls "$root/resources/flags/"FLG_*.bmp) -filter point -resize 400% \
    -pointsize 12 -tile 12x -geometry +4+4 "$build/flags-montage.png"
echo "montage: $build/flags-montage.png"
