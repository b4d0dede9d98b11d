#!/usr/bin/env bash
# Runs cpdump.exe under Wine for every Windows code page that the code set list names,
# writing one dump per code page into OUTDIR. WINEPREFIX names the prefix (created on
# first use). Usage: dump-code-pages.sh CPDUMP_EXE LIST OUTDIR
set -euo pipefail
exe=$1
list=$2
out=$3
root=$(cd "$(dirname "$0")/../.." && pwd)
pages=$(sed -n 's/^[^#|]*|windows \([0-9]*\).*/\1/p' "$list")
mkdir -p "$out"
# Wine sees the Linux root as drive Z:.
winout="Z:$(cd "$out" && pwd | tr / '\\')"
# shellcheck disable=SC2086
"$root/cmake/wine-run.sh" "$exe" "$winout" $pages
