# Shared by the run and test scripts: where the source is, and the build packages.
top="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build_packages=(g++ cmake ninja-build qt6-base-dev libgtest-dev libgmock-dev e2fsprogs)
jobs="$(nproc 2>/dev/null || echo 2)"

# configure DIR [cmake options...]
configure() {
    local dir="$1"
    shift
    cmake -S "$top" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
}
