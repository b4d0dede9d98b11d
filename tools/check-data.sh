#!/usr/bin/env bash
# Fails when data/ differs from what the generators write now: the committed tables and
# entity file are never edited by hand. Usage: check-data.sh MKOKC SOURCE_DIR
set -eu
mkokc=$1
src=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$mkokc" "$src/tools/mkokc/code-sets.txt" "$work" >/dev/null
if command -v python3 >/dev/null; then
    python3 "$src/tools/mkoku/mkoku" "$work/default.oku" >/dev/null
else
    echo "python3 missing: default.oku not checked"
fi
status=0
for f in "$work"/*; do
    name=$(basename "$f")
    cmp -s "$f" "$src/data/$name" || { echo "data/$name is not what the generators write"; status=1; }
done
for f in "$src"/data/*.okc; do
    [ -e "$work/$(basename "$f")" ] || { echo "data/$(basename "$f") is not generated"; status=1; }
done
exit $status
