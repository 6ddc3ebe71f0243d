#!/usr/bin/env bash
# The Windows build of Cuewright: cross-built here with Debian's mingw-w64
# (scripts/mingw64.cmake) against a Qt for Windows made from Debian's own sources by
# scripts/build-qt-mingw.sh, and tested under Wine. In build-windows/:
#   qt6.4.2-mingw64/   the Qt archive, unpacked once its SHA-256 is checked
#   obj/               the cross build; obj/bin holds the programs and the DLLs they need
#   wine/              the Wine prefix the programs run in (made on the first run)
#   cuewright-VERSION-windows-x86_64.zip   what a Windows user downloads
# Steps: the Debian packages, the Qt archive, the build, both test programs under Wine
# (the window tests offscreen), the tools under Wine against examples/gameroot compared
# byte for byte with the Linux build's, the zip, and the zip run from a folder that
# holds nothing else. Each step's time is printed at the end.
#
# The Qt archive, qt6.4.2-mingw64.tar.xz with its .sha256, is looked for in
# $CUEWRIGHT_TOOLCHAINS, else in ../shared/toolchains beside the source. Without it the
# script says how to make one and that it skipped the build, and exits 0;
# scripts/windows.sh --toolchain only says where the archive is, or how to make one
# and exits 1 (CI asks so before its first step). CUEWRIGHT_WERROR=ON makes compiler
# warnings errors (CI sets it).
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

qt_name="$qt_mingw_name"
archive="$qt_mingw_folder/$qt_name.tar.xz"
if [ ! -f "$archive" ] || [ ! -f "$archive.sha256" ]; then
    echo "windows: no Qt for Windows: $(realpath -m "$archive") and its .sha256 are not there." >&2
    echo "windows: make them from Debian's qt6-base sources (about an hour on 2 cores, 2 GB of disk) with" >&2
    echo "    $top/scripts/build-qt-mingw.sh" >&2
    echo "windows: which writes them there; or set CUEWRIGHT_TOOLCHAINS to a folder that holds them." >&2
    if [ "${1:-}" = "--toolchain" ]; then
        exit 1
    fi
    echo "windows: skipped"
    exit 0
fi
archive="$(cd "$(dirname "$archive")" && pwd)/$(basename "$archive")"
if [ "${1:-}" = "--toolchain" ]; then
    echo "windows: Qt for Windows: $archive"
    exit 0
fi

win="$top/build-windows"
qt="$win/$qt_name"
obj="$win/obj"
version="$(sed -n 's/^project(Cuewright VERSION \([0-9.]*\).*/\1/p' "$top/CMakeLists.txt")"
package="cuewright-$version-windows-x86_64"
mingw_runtime=(/usr/lib/gcc/x86_64-w64-mingw32/12-posix/libstdc++-6.dll
    /usr/lib/gcc/x86_64-w64-mingw32/12-posix/libgcc_s_seh-1.dll
    /usr/x86_64-w64-mingw32/lib/libwinpthread-1.dll)

# Wine in a prefix of our own, quiet, without the offers to install Mono and Gecko.
export WINEPREFIX="$win/wine" WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="

timings=()
step_name=""
step() {
    local now
    now="$(date +%s)"
    [ -z "$step_name" ] || timings+=("$(printf '%4d s  %s' $((now - step_start)) "$step_name")")
    step_name="$1"
    step_start="$now"
    [ -z "$step_name" ] || echo "== $step_name"
}

step "Debian packages"
"$top/scripts/deps.sh" "${build_packages[@]}" g++-mingw-w64-x86-64-posix mingw-w64-x86-64-dev \
    qt6-base-dev-tools googletest wine wine64 zip unzip xvfb xauth x11-utils

step "Qt for Windows: checking and unpacking $qt_name.tar.xz"
expected="$(awk '{print $1}' "$archive.sha256")"
if [ "$(cat "$qt/.sha256" 2>/dev/null)" != "$expected" ]; then
    actual="$(sha256sum "$archive" | awk '{print $1}')"
    if [ "$actual" != "$expected" ]; then
        echo "windows: $archive has SHA-256 $actual, not $expected as $archive.sha256 says" >&2
        exit 1
    fi
    rm -rf "$qt"
    mkdir -p "$win"
    tar -xJf "$archive" -C "$win"
    echo "$expected" >"$qt/.sha256"
fi

# The Wine prefix is made while the cross build runs: that mostly waits on Wine's own
# start-up. A failed build ends it with the script.
(
    wine wineboot --init >/dev/null 2>&1
    wineserver --wait
) &
wine_prefix=$!
trap 'kill "$wine_prefix" 2>/dev/null || true; wineserver --kill 2>/dev/null || true' EXIT

step "Cross build: cuewright.exe, core_tests.exe, gui_tests.exe"
# -O2: g++ 12 reports a false -Wrestrict inside std::string at -O3.
cmake -S "$top" -B "$obj" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS_RELEASE="-O2 -DNDEBUG" \
    -DCMAKE_TOOLCHAIN_FILE="$qt/lib/cmake/Qt6/qt.toolchain.cmake" \
    -DQT_CHAINLOAD_TOOLCHAIN_FILE="$top/scripts/mingw64.cmake" \
    -DCUEWRIGHT_WERROR="${CUEWRIGHT_WERROR:-OFF}" >/dev/null
cmake --build "$obj" -j "$jobs"

# copy_runtime FOLDER PLATFORM...: what a program of the build needs beside it.
copy_runtime() {
    local folder="$1"
    shift
    mkdir -p "$folder/platforms" "$folder/styles"
    cp "$qt"/bin/Qt6{Core,Gui,Widgets}.dll "${mingw_runtime[@]}" "$folder/"
    cp "$qt/plugins/styles/qwindowsvistastyle.dll" "$folder/styles/"
    local platform
    for platform in "$@"; do
        cp "$qt/plugins/platforms/$platform.dll" "$folder/platforms/"
    done
}
copy_runtime "$obj/bin" qwindows qoffscreen
cp "$qt/bin/Qt6Test.dll" "$obj/bin/"

step "Wine prefix (what the build left to wait for)"
wait "$wine_prefix"
trap - EXIT

# run_tests NAME PROGRAM [ARGUMENTS...]: a test program under Wine, its output in
# build-windows/NAME.log, its summary printed.
failed=0
run_tests() {
    local name="$1" log="$win/$1.log" status=0
    shift
    (cd "$obj/bin" && wine "$@" >"$log" 2>&1) || status=$?
    grep -E '^\[  (PASSED|FAILED|SKIPPED) +\] [0-9]+ tests?' "$log" | awk '!seen[$0]++' | sed "s/^/$name: /" || true
    if [ "$status" -ne 0 ]; then
        grep -E '^\[  FAILED  \]' "$log" | sort -u | sed "s/^/$name: /" || true
        echo "windows: $name failed under Wine (exit $status); see $log" >&2
        failed=1
    fi
}

step "Core and tool tests under Wine"
run_tests core_tests ./core_tests.exe

step "Window tests under Wine (offscreen)"
# Qt's offscreen platform under Wine measures every glyph of a larger font far wider
# than any Windows font draws it (a 13-point "Scripts" 187 pixels wide), so the tests
# of captions that must fit at larger fonts, and of the pages that must fit the window
# at 32 points, run on Linux only; they are named here.
echo "gui_tests: left out under Wine: Fonts/LayoutScaleTest.*, ScreensAndFonts/WindowSpaceTest.*/*_32pt"
run_tests gui_tests ./gui_tests.exe -platform offscreen \
    --gtest_filter='-Fonts/LayoutScaleTest.*:ScreensAndFonts/WindowSpaceTest.*/*_32pt'
# count WORD: the number on GoogleTest's closing "[  WORD  ] N tests" line of each
# program, summed (Wine's output ends its lines with CR LF).
count() {
    awk -v word="$1" 'FNR == 1 {delete seen} {sub(/\r$/, "")}
        $2 == word && $3 == "]" && $5 ~ /^tests?[.,]?$/ && !seen[$0]++ {n += $4}
        END {print n + 0}' "$win/core_tests.log" "$win/gui_tests.log"
}
echo "wine: $(count PASSED) passed, $(count FAILED) failed, $(count SKIPPED) skipped"
[ "$failed" -eq 0 ] || exit 1

step "The tools under Wine and on Linux, byte for byte"
configure default -DCUEWRIGHT_WERROR="${CUEWRIGHT_WERROR:-OFF}"
cmake --build "$top/build" -j "$jobs" --target cuewright
linux_program="$top/build/bin/cuewright"
compare="$win/compare"
rm -rf "$compare"
mkdir -p "$compare"
differences=0
runs=0
# same TOOL ARGUMENTS...: the tool's standard output and exit status on both systems,
# run from the source folder with relative paths, must be the same bytes.
same() {
    local linux_status=0 wine_status=0
    runs=$((runs + 1))
    (cd "$top" && "$linux_program" "$@" >"$compare/linux.out" 2>/dev/null) || linux_status=$?
    (cd "$top" && wine "$obj/bin/cuewright.exe" "$@" >"$compare/wine.out" 2>/dev/null) || wine_status=$?
    if [ "$linux_status" -ne "$wine_status" ] || ! cmp -s "$compare/linux.out" "$compare/wine.out"; then
        echo "differs: cuewright $* (exit $linux_status on Linux, $wine_status under Wine)"
        cmp "$compare/linux.out" "$compare/wine.out" || true
        cp "$compare/linux.out" "$compare/differs-$runs.linux"
        cp "$compare/wine.out" "$compare/differs-$runs.wine"
        differences=$((differences + 1))
    fi
}
root=examples/gameroot
same commands --root "$root"
for mod_folder in "$top/$root"/mods/*/; do
    mod="$(basename "$mod_folder")"
    same check --json --root "$root" "$mod"
    same check --root "$root" "$mod"
    [ ! -f "$mod_folder/strings_default.txt" ] || same tokens --strings "$root/mods/$mod/strings_default.txt"
    for script in "$mod_folder"/scripts/*.txt; do
        [ -f "$script" ] || continue
        same tokens "$root/mods/$mod/scripts/$(basename "$script")"
        same fmt --root "$root" "$mod" "$(basename "$script")"
    done
done
echo "$runs runs compared, $differences differ"
[ "$differences" -eq 0 ] || exit 1

step "The zip: $package.zip"
stage="$win/$package"
rm -rf "$stage" "$win/$package.zip"
copy_runtime "$stage" qwindows
cp "$obj/bin/cuewright.exe" "$stage/"
cp "$top/data/commands.txt" "$stage/commands.txt"
cp "$top/README.md" "$stage/README.md"
# The manual where the README's links look for it.
mkdir -p "$stage/docs"
cp "$top/docs/manual.md" "$stage/docs/manual.md"
cp "$top/LICENSE" "$stage/LICENSE.txt"
# Debug symbols are of no use to a user and make up most of the C++ runtime's size.
find "$stage" \( -name "*.exe" -o -name "*.dll" \) -exec x86_64-w64-mingw32-strip {} +
(cd "$win" && zip -qr9X "$package.zip" "$package")
echo "$win/$package.zip: $(stat -c %s "$win/$package.zip") bytes"
unzip -l "$win/$package.zip" | awk 'NR > 3 && $4 != "" {print "  " $1, $4}'

step "The zip run from a folder that holds nothing else"
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
unzip -q "$win/$package.zip" -d "$scratch"
here="$scratch/$package"
check_zip() {
    local what="$1"
    shift
    if ! "$@"; then
        echo "windows: the unpacked zip fails: $what" >&2
        exit 1
    fi
}
(cd "$here" && wine ./cuewright.exe --version) | tee "$scratch/version.txt"
check_zip "--version" grep -qx "cuewright $version" "$scratch/version.txt"
(cd "$here" && wine ./cuewright.exe check --root "$top/$root" "Garden Return") >"$scratch/check.txt"
check_zip "check finds no fault in Garden Return" test ! -s "$scratch/check.txt"
(cd "$here" && wine ./cuewright.exe fmt --root "$top/$root" "Garden Return" intro.txt) >"$scratch/fmt.txt"
check_zip "fmt prints the script" cmp -s "$scratch/fmt.txt" <("$linux_program" fmt --root "$top/$root" \
    "Garden Return" intro.txt)
# The window with the zip's own platform plugin on a virtual display: the main window
# (its caption starts "Cuewright v") appears on the example game root; a failed start
# would show a message box captioned "Cuewright" instead. Wine's processes of the
# runs before, which have no display, must be gone first.
wineserver --wait
export scratch here top root version
check_zip "the window opens examples/gameroot" xvfb-run -a bash -c '
    (cd "$here" && exec wine ./cuewright.exe --root "$top/$root") >"$scratch/window.txt" 2>&1 &
    program=$!
    opened=1
    for _ in $(seq 60); do
        sleep 1
        if xwininfo -root -tree 2>/dev/null | grep -q "\"Cuewright v$version - "; then
            opened=0
            break
        fi
    done
    xwininfo -root -tree 2>/dev/null | grep -o "\"Cuewright[^\"]*\"" | sort -u
    kill "$program" 2>/dev/null || true
    wineserver --kill
    wait "$program" 2>/dev/null || true
    exit $opened'

step ""
echo "== Times"
printf '%s\n' "${timings[@]}"
