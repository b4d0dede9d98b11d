#!/usr/bin/env bash
# Regenerates the code set tables (data/*.okc) — those of Windows' code pages from Windows'
# own conversions, asked by cpdump.exe under Wine, the others from this machine's glibc
# iconv — and the entity names (data/default.oku) from python3's html.entities.
# Usage: tools/make-data.sh   (builds mkokc and cpdump in $PEL_BUILD_DIR, default build/native)
set -eu
cd "$(dirname "$0")/.."
build=${PEL_BUILD_DIR:-build/native}
if [ ! -f "$build/CMakeCache.txt" ]; then
    if [ "$build" = build/native ]; then
        cmake --preset native >/dev/null
    else
        cmake -S . -B "$build" >/dev/null
    fi
fi
cmake --build "$build" --target mkokc cpdump -j "${PEL_JOBS:-2}" >/dev/null
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
WINEPREFIX=$(cd "$build" && pwd)/wineprefix \
    tools/cpdump/dump-code-pages.sh "$build/tools/cpdump/cpdump.exe" tools/mkokc/code-sets.txt \
    "$work"
mkdir -p data
# Tables no longer in the list must not linger beside the new ones.
rm -f data/*.okc
"$build/tools/mkokc/mkokc" tools/mkokc/code-sets.txt data --code-pages "$work"
python3 tools/mkoku/mkoku data/default.oku
