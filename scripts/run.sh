#!/usr/bin/env bash
# Until the window program exists: builds okctool natively and shows the shipped tables at
# work (a dump, and a sample text through windows-1252 and windows-932 and back).
set -eu
cd "$(dirname "$0")/.."
scripts/install-deps.sh
build=${PEL_BUILD_DIR:-build/native}
if [ "$build" = build/native ]; then
    cmake --preset native >/dev/null
else
    cmake -S . -B "$build" >/dev/null
fi
cmake --build "$build" --target okctool -j "${PEL_JOBS:-2}" >/dev/null
tool=$build/tools/okctool/okctool

echo "\$ okctool dump data/windows-1252.okc"
"$tool" dump data/windows-1252.okc
echo
echo

round_trip() {
    local table=$1 text=$2 work
    work=$(mktemp -d)
    printf '%s' "$text" | iconv -f UTF-8 -t UTF-16LE >"$work/units"
    "$tool" encode "data/$table.okc" <"$work/units" >"$work/bytes"
    "$tool" decode "data/$table.okc" <"$work/bytes" >"$work/back"
    echo "$table:"
    echo "  text     $text"
    echo "  encoded $(od -An -tx1 -v "$work/bytes" | tr -s ' \n' ' ')"
    echo "  decoded  $(iconv -f UTF-16LE -t UTF-8 <"$work/back")"
    if cmp -s "$work/units" "$work/back"; then echo "  round trip: same text"; else echo "  round trip: DIFFERENT"; fi
    rm -rf "$work"
}
round_trip windows-1252 "Grüße aus Köln – 12 € à la carte"
round_trip windows-932 "日本語のテキスト、ｶﾀｶﾅと①"
