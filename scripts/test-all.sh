#!/usr/bin/env bash
# Builds both presets and runs every test: natively, and the cross-built programs under
# Wine on a private virtual display. Ends with CTest's summary of both builds.
set -eu
cd "$(dirname "$0")/.."
root=$(pwd)
scripts/install-deps.sh
jobs=${PEL_JOBS:-2}

cmake --preset native >/dev/null
cmake --build --preset native -j "$jobs"
cmake --preset win32 >/dev/null
cmake --build --preset win32 -j "$jobs"

# One CTest run over both build trees, so there is one summary.
mkdir -p build/all
cat > build/all/CTestTestfile.cmake <<TXT
subdirs("$root/build/native" "$root/build/win32")
TXT
cd build/all
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
exec xvfb-run -a -s "-screen 0 1280x1024x24" ctest --output-on-failure -j "$jobs" "$@"
