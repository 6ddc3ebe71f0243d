# Shared by the run and test scripts: where the source is, and the build packages.
top="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build_packages=(g++ cmake ninja-build qt6-base-dev libgtest-dev libgmock-dev e2fsprogs)
jobs="$(nproc 2>/dev/null || echo 2)"

# configure PRESET [cmake options...]: the presets of CMakePresets.json, each in its
# own build folder.
configure() {
    local preset="$1"
    shift
    (cd "$top" && cmake --preset "$preset" "$@" >/dev/null)
}
