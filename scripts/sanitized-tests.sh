#!/usr/bin/env bash
# Builds Cuewright with AddressSanitizer and UndefinedBehaviorSanitizer and runs every
# test, window tests included (offscreen), each test program in one process (the asan
# preset), the programs side by side. A leak, an invalid access or undefined
# behaviour fails the run.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

"$top/scripts/deps.sh" "${build_packages[@]}"
configure asan \
    -DCUEWRIGHT_WERROR="${CUEWRIGHT_WERROR:-OFF}"
cmake --build "$top/build-asan" -j "$jobs"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:strict_string_checks=1:detect_stack_use_after_return=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
ctest --test-dir "$top/build-asan" --output-on-failure -j "$jobs"
