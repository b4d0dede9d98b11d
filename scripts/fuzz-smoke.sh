#!/usr/bin/env bash
# Builds the fuzz preset (clang, libFuzzer, ASan + UBSan) and runs every fuzz target for a
# fixed number of executions from the committed seeds, so that a reader that starts to crash,
# leak or misbehave fails the run. About 20 seconds a target, under three minutes in all after
# the build.
#   scripts/fuzz-smoke.sh             all targets
#   scripts/fuzz-smoke.sh okc decode  only these
set -eu
cd "$(dirname "$0")/.."
root=$(pwd)
jobs=${PEL_JOBS:-2}

# Executions per target, sized to about 20 seconds each on the 2-core machine.
declare -A runs=(
    [entity]=5000000
    [decode]=800000
    [pipeline]=400000
    [dib]=5000000
    [encode]=220000
    [okc]=27000
    [oku]=80000
    [locales]=55000
)
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(entity decode pipeline dib encode okc oku locales)

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j "$jobs"

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
failed=()
for t in "${targets[@]}"; do
    [ -n "${runs[$t]:-}" ] || { echo "unknown fuzz target: $t" >&2; exit 2; }
    mkdir -p "$scratch/$t" "$scratch/artifacts-$t"
    start=$(date +%s)
    # New inputs go to the scratch folder; the committed seeds are only read.
    if "$root/build/fuzz/fuzz/fuzz_$t" -runs="${runs[$t]}" -seed=1 -timeout=20 \
        -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$scratch/artifacts-$t/" \
        "$scratch/$t" "$root/fuzz/corpus/$t" > "$scratch/$t.log" 2>&1; then
        stats=$(grep -E '^#[0-9]+.*DONE' "$scratch/$t.log" | tail -1)
        echo "fuzz_$t: ok in $(( $(date +%s) - start )) s: $stats"
    else
        echo "fuzz_$t: FAILED" >&2
        grep -E -A40 'ERROR|invariant failed|runtime error' "$scratch/$t.log" | head -80 >&2
        for a in "$scratch/artifacts-$t"/*; do
            [ -e "$a" ] && { echo "input (base64) $(basename "$a"):" >&2; base64 "$a" >&2; }
        done
        failed+=("$t")
    fi
done
if [ ${#failed[@]} -gt 0 ]; then
    echo "fuzz smoke failed: ${failed[*]}" >&2
    exit 1
fi
echo "fuzz smoke: all ${#targets[@]} targets ok"
