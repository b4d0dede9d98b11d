#!/usr/bin/env bash
# Regenerates data/Locales.def: cross-builds mklocales.exe and runs it under Wine, which
# answers GetLocaleInfo from its own locale data (Windows itself serves as well: build
# mklocales there and run "mklocales.exe Locales.def").
# Usage: tools/mklocales/generate.sh [wine prefix folder]
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export WINEPREFIX=${1:-$work/prefix}
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" WINEARCH=win64
x86_64-w64-mingw32-g++-posix -std=c++17 -O1 -Wall -Wextra -static \
    "$root/tools/mklocales/mklocales.cpp" -o "$work/mklocales.exe"
wine "$work/mklocales.exe" 'Z:'"$(echo "$work/Locales.def" | tr / '\\')"
wineserver -w 2>/dev/null || true
cp "$work/Locales.def" "$root/data/Locales.def"
echo "wrote $root/data/Locales.def"
