#!/usr/bin/env bash
# Builds the asan preset (g++ with AddressSanitizer and UndefinedBehaviorSanitizer) and runs
# every native test under it. Any sanitizer report fails the test that caused it.
set -eu
cd "$(dirname "$0")/.."
jobs=${PEL_JOBS:-2}

cmake --preset asan >/dev/null
cmake --build --preset asan -j "$jobs"

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:detect_stack_use_after_return=1:strict_string_checks=1:check_initialization_order=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
exec ctest --preset asan -j "$jobs" "$@"
