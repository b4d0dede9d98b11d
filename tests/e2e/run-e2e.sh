#!/usr/bin/env bash
# Starts pelimbrance.exe under Wine, runs one check against it, and ends the program.
#   run-e2e.sh EXE DATA_DIR STAGE_DIR -- COMMAND...
# The exe and the data files are copied into STAGE_DIR (the program reads its data from its
# own directory); with "-" for both, the exe runs where it stands (an unpacked or installed
# package). COMMAND runs with PEL_EXE_PID set; "wine-run" in it stands for the Wine runner,
# so a Windows driver runs in the same prefix and on the same display.
set -u
exe=$1 data=$2 stage=$3
shift 4
here=$(cd "$(dirname "$0")" && pwd)
runner="$here/../../cmake/wine-run.sh"

# A private display when the caller has none.
if [ -z "${DISPLAY:-}" ]; then
    exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$exe" "$data" "$stage" -- "$@"
fi

if [ "$stage" != - ]; then
    rm -rf "$stage"
    mkdir -p "$stage"
    cp "$exe" "$stage/"
    cp -r "$data"/. "$stage/" 2>/dev/null || true
    exe="$stage/$(basename "$exe")"
fi
"$runner" --init

"$runner" "$exe" &
pid=$!
export PEL_EXE_PID=$pid

args=()
for a in "$@"; do
    if [ "$a" = wine-run ]; then args+=("$runner"); else args+=("$a"); fi
done
"${args[@]}"
rc=$?

# The checks usually close the program themselves; end it if they did not.
for _ in $(seq 1 100); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
done
if kill -0 "$pid" 2>/dev/null; then
    kill "$pid" 2>/dev/null
fi
wait "$pid" 2>/dev/null
exit $rc
