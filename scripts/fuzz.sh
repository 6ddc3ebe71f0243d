#!/usr/bin/env bash
# Builds the fuzz targets with clang and libFuzzer and runs each for a bounded time
# (default 30 s; scripts/fuzz.sh SECONDS), as many at once as there are cores,
# starting from the seed corpus in fuzz/corpus. New inputs go to a scratch copy,
# never into the repository. A finding fails the run and leaves the input that caused
# it in build-fuzz/findings.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
seconds="${1:-30}"

"$top/scripts/deps.sh" clang libclang-rt-14-dev cmake ninja-build
configure fuzz -DCUEWRIGHT_WERROR="${CUEWRIGHT_WERROR:-OFF}"
cmake --build "$top/build-fuzz" -j "$jobs"

findings="$top/build-fuzz/findings"
mkdir -p "$findings"
targets=(Tokenizer Catalogue Strings ScriptChain)

# fuzz_one TARGET: one target for the time given; its log in build-fuzz/fuzz_TARGET.log.
fuzz_one() {
    local target="$1"
    local work="$top/build-fuzz/corpus-work/$target"
    rm -rf "$work"
    mkdir -p "$work"
    "$top/build-fuzz/fuzz/fuzz_$target" -max_total_time="$seconds" -max_len=4096 -timeout=10 \
        -print_final_stats=1 -artifact_prefix="$findings/$target-" "$work" "$top/fuzz/corpus/$target" \
        >"$top/build-fuzz/fuzz_$target.log" 2>&1
}

# Each target runs on a core of its own for the whole time; a target's status is kept
# beside its log and reported once all have finished, in a fixed order.
running=0
for target in "${targets[@]}"; do
    if [ "$running" -ge "$jobs" ]; then
        wait -n || true
        running=$((running - 1))
    fi
    rm -f "$top/build-fuzz/fuzz_$target.status"
    (
        status=0
        fuzz_one "$target" || status=$?
        echo "$status" >"$top/build-fuzz/fuzz_$target.status"
    ) &
    running=$((running + 1))
done
wait

status=0
for target in "${targets[@]}"; do
    log="$top/build-fuzz/fuzz_$target.log"
    runs=$(grep -E '^stat::number_of_executed_units' "$log" | awk '{print $2}' || true)
    if [ "$(cat "$top/build-fuzz/fuzz_$target.status" 2>/dev/null)" = 0 ]; then
        echo "fuzz_$target: ${seconds} s, ${runs:-?} executions, no finding"
    else
        echo "fuzz_$target: FINDING after ${runs:-?} executions"
        tail -40 "$log"
        status=1
    fi
done
exit $status
