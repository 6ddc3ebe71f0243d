#!/usr/bin/env bash
# Builds the Debian package and the tarball of Cuewright from a Release build in
# build-package, with Debian's hardening flags, and leaves them in
# build-package/packages:
#   cuewright_VERSION_ARCH.deb        sudo apt install ./build-package/packages/cuewright_*.deb
#   cuewright-VERSION-Linux.tar.gz    unpack anywhere, run bin/cuewright
# scripts/package-checks.sh then validates them. scripts/package.sh --build-only makes
# the Release build alone (CI builds it as a step of its own, then packs that build).
# CUEWRIGHT_WERROR=ON makes compiler warnings errors (CI sets it).
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

# dpkg-dev: dpkg-shlibdeps and dpkg-buildflags; file: how CPack finds the binaries.
"$top/scripts/deps.sh" g++ cmake ninja-build qt6-base-dev dpkg-dev file gzip

# The flags Debian builds its own packages with: -O2, stack protector, fortified
# functions, full RELRO, immediate binding. They replace the Release build's -O3.
# Without -g: the package is stripped and no debug symbols package is made, so the
# debug information would only cost build time.
cd "$top"
export DEB_BUILD_MAINT_OPTIONS=hardening=+all DEB_CXXFLAGS_MAINT_STRIP=-g
cxxflags="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)"
ldflags="$(dpkg-buildflags --get LDFLAGS)"
configure package -DCMAKE_CXX_FLAGS="$cxxflags" -DCMAKE_CXX_FLAGS_RELEASE=-DNDEBUG \
    -DCMAKE_EXE_LINKER_FLAGS="$ldflags" -DCUEWRIGHT_WERROR="${CUEWRIGHT_WERROR:-OFF}"
cmake --build "$top/build-package" -j "$jobs"
if [ "${1:-}" = "--build-only" ]; then
    echo "package: Release build in $top/build-package"
    exit 0
fi

out="$top/build-package/packages"
rm -rf "$out"
mkdir -p "$out"
(cd "$top/build-package" && cpack -G DEB -B "$out" >/dev/null && cpack -G TGZ -B "$out" >/dev/null)
# CPack's own staging folders are of no use afterwards.
rm -rf "$out/_CPack_Packages"
for package in "$out"/*.deb "$out"/*.tar.gz; do
    echo "package: $package ($(stat -c %s "$package") bytes)"
done
