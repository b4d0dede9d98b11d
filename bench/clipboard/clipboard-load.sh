#!/usr/bin/env bash
# Starts the cross-built pelimbrance.exe under Wine on a private virtual display and runs
# clipboard_load.exe against it: first the time the window takes to list and show texts that
# are hard to lay out, then the load run (sizes in KiB of UTF-16 text, default 64 1024 10240
# 51200); prints their tables and the program's peak resident memory.
#   cmake --build --preset win32 --target pelimbrance clipboard_load
#   bench/clipboard/clipboard-load.sh [SIZE_KIB...]
set -u
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${PEL_BUILD_DIR:-$root/build/win32}
if [ -z "${DISPLAY:-}" ]; then
    exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$@"
fi
export WINEPREFIX=${WINEPREFIX:-$build/bench-wineprefix}
runner=$root/cmake/wine-run.sh
stage=$build/bench/clipboard/stage
rm -rf "$stage" && mkdir -p "$stage"
cp "$build/src/app/pelimbrance.exe" "$stage/" && cp -r "$root/data/." "$stage/"
"$runner" --init
"$runner" "$stage/pelimbrance.exe" &
echo "Listing and display with Auto-convert off, until the window answers (best of 3):"
"$runner" "$build/bench/clipboard/clipboard_load.exe" --display
echo
"$runner" "$build/bench/clipboard/clipboard_load.exe" "$@"
rc=$?
pid=$(pgrep -f 'pelimbrance\.exe' | head -1)
[ -n "$pid" ] && grep VmHWM "/proc/$pid/status" | sed 's/^/pelimbrance.exe peak memory: /'
"$runner" "$build/bench/clipboard/clipboard_load.exe" --close
wait
exit $rc
