#!/usr/bin/env bash
# Fails when data/ differs from what the generators write now: the committed tables and
# entity file are never edited by hand. The tables of Windows' code pages need cpdump.exe
# and Wine; without them only the others are checked and the exit status is 77 (skipped).
# Usage: check-data.sh MKOKC SOURCE_DIR [CPDUMP_EXE]
set -eu
mkokc=$1
src=$2
cpdump=${3:-}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
list="$src/tools/mkokc/code-sets.txt"
mkdir "$work/out"
partial=0
if [ -n "$cpdump" ] && [ -f "$cpdump" ] && command -v wine >/dev/null; then
    "$src/tools/cpdump/dump-code-pages.sh" "$cpdump" "$list" "$work/dumps"
    "$mkokc" "$list" "$work/out" --code-pages "$work/dumps" >/dev/null
else
    echo "no cpdump.exe or no Wine: the tables of Windows' code pages are not checked"
    partial=1
    "$mkokc" "$list" "$work/out" >/dev/null
fi
if command -v python3 >/dev/null; then
    python3 "$src/tools/mkoku/mkoku" "$work/out/default.oku" >/dev/null
else
    echo "python3 missing: default.oku not checked"
fi
status=0
for f in "$work"/out/*; do
    name=$(basename "$f")
    cmp -s "$f" "$src/data/$name" || { echo "data/$name is not what the generators write"; status=1; }
done
if [ $partial = 0 ]; then
    for f in "$src"/data/*.okc; do
        [ -e "$work/out/$(basename "$f")" ] || { echo "data/$(basename "$f") is not generated"; status=1; }
    done
fi
[ $status = 0 ] && [ $partial = 1 ] && exit 77
exit $status
