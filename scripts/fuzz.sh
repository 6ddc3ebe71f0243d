#!/usr/bin/env bash
# Builds the fuzz targets with clang and libFuzzer and runs each for a bounded time
# (default 30 s; scripts/fuzz.sh SECONDS), starting from the seed corpus in
# fuzz/corpus. New inputs go to a scratch copy, never into the repository. A finding
# fails the run and leaves the input that caused it in build-fuzz/findings.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
seconds="${1:-30}"

"$top/scripts/deps.sh" clang libclang-rt-14-dev cmake ninja-build
configure fuzz -DCUEWRIGHT_WERROR="${CUEWRIGHT_WERROR:-OFF}"
cmake --build "$top/build-fuzz" -j "$jobs"

findings="$top/build-fuzz/findings"
mkdir -p "$findings"
status=0
for target in Tokenizer Catalogue Strings ScriptChain; do
    work="$top/build-fuzz/corpus-work/$target"
    rm -rf "$work"
    mkdir -p "$work"
    log="$top/build-fuzz/fuzz_$target.log"
    if "$top/build-fuzz/fuzz/fuzz_$target" -max_total_time="$seconds" -max_len=4096 -timeout=10 \
        -print_final_stats=1 -artifact_prefix="$findings/$target-" "$work" "$top/fuzz/corpus/$target" >"$log" 2>&1; then
        runs=$(grep -E '^stat::number_of_executed_units' "$log" | awk '{print $2}')
        echo "fuzz_$target: ${seconds} s, ${runs:-?} executions, no finding"
    else
        echo "fuzz_$target: FINDING after $(grep -E '^stat::number_of_executed_units' "$log" | awk '{print $2}') executions"
        tail -40 "$log"
        status=1
    fi
done
exit $status
