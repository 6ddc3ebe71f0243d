#!/usr/bin/env bash
# Runs clang-tidy with the project's .clang-tidy on every source file of src/ and bench/;
# any finding fails the run, and so does anything clang-tidy says beyond counting
# its warnings (a header not found, a .clang-tidy it cannot read), or a clang-tidy
# that ends in failure. Uses the compile commands of the default build, which it
# configures and builds first (the window's generated headers must exist). GCC's own
# warning options in those commands are not clang's, so clang is told to pass over them;
# GCC's precompiled headers are not clang's either, so the commands are given without
# them, and each file is parsed as it stands, with the headers it includes itself.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
"$top/scripts/deps.sh" "${build_packages[@]}" clang-tidy
configure default
cmake --build "$top/build" -j "$jobs" --target cuewright_gui cuewright_cli cuewright >/dev/null
cd "$top"
mkdir -p build/tidy
sed -E 's# -Winvalid-pch -include [^ "]*/cmake_pch\.hxx##g' build/compile_commands.json >build/tidy/compile_commands.json
# One file per run, the window's and the benchmark's first: each of those parses Qt's
# headers and takes several times as long as a file of the core, so starting them first
# keeps every core busy until the end instead of leaving one to finish a late window
# file alone.
mapfile -t files < <(git ls-files 'src/gui/*.cpp' 'bench/*.cpp' && git ls-files 'src/*.cpp' ':!src/gui/*')
# clang-tidy's standard error is kept: a .clang-tidy it cannot read is said only there,
# and clang-tidy then ends with status 0, having run no check. Only its counts go ("3
# warnings generated.", "Suppressed 12 warnings ..."), which every file with a Qt
# header prints.
status=0
printf '%s\0' "${files[@]}" |
    xargs -0 -n 1 -P "$jobs" clang-tidy -p build/tidy --quiet --extra-arg=-Wno-unknown-warning-option 2>&1 |
    sed -E '/^[0-9]+ (warning|error)s?( and [0-9]+ errors?)? generated\.$/d; /^Suppressed [0-9]+ warnings/d; /^Use -header-filter=/d' |
    tee build/tidy.log || status=$?
if [ -s build/tidy.log ]; then
    echo "tidy: findings above" >&2
    exit 1
fi
if [ "$status" -ne 0 ]; then
    echo "tidy: clang-tidy failed (status $status) without saying why" >&2
    exit 1
fi
echo "tidy: ${#files[@]} files, no finding"
