#!/usr/bin/env bash
# Builds every preset and runs every test in one CTest run, which ends with its summary:
#   native  the portable core, tools and unit tests (g++)
#   win32   the cross-built unit, window and end-to-end tests, under Wine on a private
#           virtual display, and the Windows packages (zip and installer) in a prefix of
#           their own
#   asan    the native unit tests again under AddressSanitizer + UndefinedBehaviorSanitizer
#   fuzz    every libFuzzer target for a fixed number of executions (test "fuzz_smoke")
set -eu
cd "$(dirname "$0")/.."
root=$(pwd)
scripts/install-deps.sh
jobs=${PEL_JOBS:-2}

for preset in native win32 asan; do
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset" -j "$jobs"
done
# The zip and the installer, which the test "package" unpacks, installs and uninstalls.
cmake --build --preset win32 --target package
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j "$jobs"

# One CTest run over all build trees, so there is one summary. The fuzz run, the longest
# test by far, has the highest cost, so that CTest starts it as soon as the fixtures' set-ups
# allow and it runs beside the other tests, not after them.
mkdir -p build/all
cat > build/all/CTestTestfile.cmake <<TXT
subdirs("$root/build/native" "$root/build/win32" "$root/build/asan")
add_test(fuzz_smoke "$root/scripts/fuzz-smoke.sh")
set_tests_properties(fuzz_smoke PROPERTIES LABELS fuzz TIMEOUT 1200 COST 10000)
TXT
cd build/all
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:detect_stack_use_after_return=1:strict_string_checks=1:check_initialization_order=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
exec xvfb-run -a -s "-screen 0 1280x1024x24" ctest --output-on-failure -j "$jobs" "$@"
