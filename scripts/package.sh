#!/usr/bin/env bash
# Builds the Debian package and the tarball of Cuewright from a Release build in
# build-package, with Debian's hardening flags, and leaves them in
# build-package/packages:
#   cuewright_VERSION_ARCH.deb        sudo apt install ./build-package/packages/cuewright_*.deb
#   cuewright-VERSION-Linux.tar.gz    unpack anywhere, run bin/cuewright
# scripts/package-checks.sh then validates them.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

# dpkg-dev: dpkg-shlibdeps and dpkg-buildflags; file: how CPack finds the binaries.
"$top/scripts/deps.sh" g++ cmake ninja-build qt6-base-dev dpkg-dev file gzip

# The flags Debian builds its own packages with: -O2, stack protector, fortified
# functions, full RELRO, immediate binding. They replace the Release build's -O3,
# which also makes g++ 12 report a false -Wrestrict inside std::string.
cd "$top"
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
cxxflags="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)"
ldflags="$(dpkg-buildflags --get LDFLAGS)"
configure package -DCMAKE_CXX_FLAGS="$cxxflags" -DCMAKE_CXX_FLAGS_RELEASE=-DNDEBUG \
    -DCMAKE_EXE_LINKER_FLAGS="$ldflags"
cmake --build "$top/build-package" -j "$jobs"

out="$top/build-package/packages"
rm -rf "$out"
mkdir -p "$out"
(cd "$top/build-package" && cpack -G DEB -B "$out" >/dev/null && cpack -G TGZ -B "$out" >/dev/null)
# CPack's own staging folders are of no use afterwards.
rm -rf "$out/_CPack_Packages"
for package in "$out"/*.deb "$out"/*.tar.gz; do
    echo "package: $package ($(stat -c %s "$package") bytes)"
done
