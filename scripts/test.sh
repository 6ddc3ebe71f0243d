#!/usr/bin/env bash
# Builds Cuewright and runs every test. The window tests run offscreen, so no display
# is needed. CUEWRIGHT_WERROR=ON turns compiler warnings into errors (CI does).
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

"$top/scripts/deps.sh" "${build_packages[@]}"
configure default -DCUEWRIGHT_WERROR="${CUEWRIGHT_WERROR:-OFF}"
cmake --build "$top/build" -j "$jobs"
ctest --test-dir "$top/build" --output-on-failure -j "$jobs"
