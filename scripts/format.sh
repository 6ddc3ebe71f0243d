#!/usr/bin/env bash
# Checks that every C++ file is formatted as .clang-format says (CI runs this);
# scripts/format.sh --fix formats them in place.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
"$top/scripts/deps.sh" clang-format
cd "$top"
mapfile -t files < <(git ls-files '*.cpp' '*.h')
if [ "${1:-}" = "--fix" ]; then
    clang-format -i "${files[@]}"
else
    clang-format --dry-run --Werror "${files[@]}"
    echo "format: ${#files[@]} files as .clang-format says"
fi
