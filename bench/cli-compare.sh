#!/usr/bin/env bash
# Times okctool against glibc iconv and ICU's uconv as whole processes (start-up, reading the
# file, converting, writing to /dev/null) with hyperfine, on the same generated input of
# about 32 MiB per code set and direction: the sample text of pel_bench, encoded by the
# shipped table for decoding, as UTF-16LE for encoding. UTF-16 is only decoded: it has no
# bytes to encode into. build/native is built with the flags of the shipped exe. Prints the fastest of the runs of
# each and okctool's speed-up over the peers.
# Usage: bench/cli-compare.sh [BUILD_DIR]   (default build/native; RUNS=5 runs per command)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build/native}
runs=${RUNS:-5}
okctool=$build/tools/okctool/okctool
sample=$build/bench/pel_sample
for tool in "$okctool" "$sample"; do
    [ -x "$tool" ] || { echo "missing $tool: cmake --build --preset native --target okctool pel_sample" >&2; exit 1; }
done
for tool in hyperfine iconv uconv; do
    command -v "$tool" >/dev/null || { echo "missing $tool" >&2; exit 1; }
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
size=$((32 * 1024 * 1024))

# The fastest run of each command of one hyperfine CSV export, in milliseconds.
fastest() {
    awk -F, 'NR > 1 { printf "%.1f ", $7 * 1000 }' "$1"
}

rows=()
# code set, iconv name, ICU name, the sample text (the code set's own when "-"), directions
while read -r codeSet iconvName icuName text directions; do
    table=$root/data/$codeSet.okc
    name=$codeSet
    [ "$text" = - ] && text=$codeSet || name="$codeSet $text"
    "$sample" "$codeSet" "$size" bytes "$work/$codeSet.bytes" "$text"
    "$sample" "$codeSet" "$size" utf16le "$work/$codeSet.u16" "$text"
    # The peers must read the same text, or the comparison is of different work.
    iconv -f "$iconvName" -t UTF-16LE "$work/$codeSet.bytes" | cmp -s - <("$okctool" decode "$table" "$work/$codeSet.bytes") ||
        echo "warning: $name: okctool and iconv decode the sample differently" >&2
    for direction in ${directions//,/ }; do
        if [ "$direction" = decode ]; then
            input=$work/$codeSet.bytes from=(-f "$iconvName" -t UTF-16LE) icuFrom=(-f "$icuName" -t UTF-16LE)
        else
            input=$work/$codeSet.u16 from=(-f UTF-16LE -t "$iconvName") icuFrom=(-f UTF-16LE -t "$icuName")
        fi
        hyperfine -N --style none --warmup 1 --runs "$runs" --export-csv "$work/times.csv" \
            "$okctool $direction $table $input" \
            "iconv ${from[*]} $input" \
            "uconv ${icuFrom[*]} $input" >/dev/null 2>"$work/hyperfine.err" || {
            cat "$work/hyperfine.err" >&2
            exit 1
        }
        read -r ours glibc icu <<<"$(fastest "$work/times.csv")"
        rows+=("$(awk -v w="$name $direction" -v o="$ours" -v g="$glibc" -v u="$icu" \
            'BEGIN { printf "| %s | %.1f ms | %.1f ms | %.1f ms | %.2f | %.2f |", w, o, g, u, u / o, g / o }')")
    done
done <<'PEERS'
windows-1252 WINDOWS-1252 windows-1252 - decode,encode
windows-1251 WINDOWS-1251 windows-1251 - decode,encode
windows-932 CP932 windows-31j - decode,encode
windows-936 GBK windows-936 - decode,encode
windows-949 UHC windows-949 - decode,encode
windows-950 BIG5 windows-950 - decode,encode
cp437 CP437 ibm-437 - decode,encode
iso-8859-5 ISO-8859-5 iso-8859-5 - decode,encode
macintosh MACINTOSH macintosh - decode,encode
utf-8 UTF-8 utf-8 mixed decode,encode
utf-8 UTF-8 utf-8 english decode,encode
utf-16 UTF-16LE UTF-16LE japanese decode
PEERS

echo "| work | okctool | iconv | uconv | × uconv | × iconv |"
echo "|---|---:|---:|---:|---:|---:|"
printf '%s\n' "${rows[@]}"
