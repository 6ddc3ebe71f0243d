# Shared by the run and test scripts: where the source is, and the build packages.
top="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build_packages=(g++ cmake ninja-build qt6-base-dev libgtest-dev libgmock-dev e2fsprogs)
jobs="$(nproc 2>/dev/null || echo 2)"

# The Qt for Windows that scripts/windows.sh builds against, as scripts/build-qt-mingw.sh
# makes it: FOLDER/qt6.4.2-mingw64.tar.xz and its .sha256, FOLDER being
# $CUEWRIGHT_TOOLCHAINS, else ../shared/toolchains beside the source.
qt_mingw_version=6.4.2
qt_mingw_name="qt$qt_mingw_version-mingw64"
qt_mingw_folder="${CUEWRIGHT_TOOLCHAINS:-$top/../shared/toolchains}"

# configure PRESET [cmake options...]: the presets of CMakePresets.json, each in its
# own build folder.
configure() {
    local preset="$1"
    shift
    (cd "$top" && cmake --preset "$preset" "$@" >/dev/null)
}
