#!/usr/bin/env bash
# Makes the Qt for Windows that scripts/windows.sh builds Cuewright against,
# qt6.4.2-mingw64.tar.xz and its .sha256: Qt base (Core, Gui, Widgets, Test; the
# windows, offscreen and minimal platform plugins; the Vista style; the image formats)
# for Windows x86-64, without SQL, network, D-Bus, OpenGL or printing. It is built from
# the qtbase sources of Debian's own qt6-base source package, of the version of the
# installed Qt host tools (moc, rcc, uic: Debian's qt6-base-dev-tools, which the build
# uses), with Debian's mingw-w64 (posix threads, scripts/mingw64.cmake) and the one
# patch those sources need (scripts/qt-mingw-no-opengl.patch).
#
#   scripts/build-qt-mingw.sh [FOLDER]
#
# writes the archive into FOLDER, by default where scripts/windows.sh looks for it:
# $CUEWRIGHT_TOOLCHAINS, else ../shared/toolchains beside the source. It takes about an
# hour on 2 cores and about 3 GB of disk in build-qt-mingw/, which can be deleted
# afterwards. Installs what it needs (through sudo when not root).
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

out="${1:-$qt_mingw_folder}"
work="$top/build-qt-mingw"
started=$SECONDS

"$top/scripts/deps.sh" g++-mingw-w64-x86-64-posix mingw-w64-x86-64-dev qt6-base-dev qt6-base-dev-tools \
    cmake ninja-build xz-utils patch debian-archive-keyring

# The host tools generate code for the Qt being built: they must be its version.
debian_version="$(dpkg-query -W -f='${Version}' qt6-base-dev-tools)"
upstream="${debian_version#*:}"
upstream="${upstream%-*}"
if [ "${upstream%%+*}" != "$qt_mingw_version" ]; then
    echo "build-qt-mingw: the installed qt6-base-dev-tools is $debian_version, not Qt $qt_mingw_version" \
        "as scripts/windows.sh expects" >&2
    exit 1
fi

# Debian's source package of that version, through a list of source archives of our own
# in build-qt-mingw: the system's package lists stay as they are, and no root is needed.
echo "== Debian's qt6-base $debian_version source package"
codename="$(. /etc/os-release && echo "${VERSION_CODENAME:-bookworm}")"
mkdir -p "$work/apt/sources" "$work/apt/lists/partial" "$work/apt/cache" "$work/source"
cat >"$work/apt/sources/debian.sources" <<EOF
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: $codename $codename-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg

Types: deb-src
URIs: http://deb.debian.org/debian-security
Suites: $codename-security
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
EOF
apt_options=(-o Dir::Etc::SourceList=/dev/null -o "Dir::Etc::SourceParts=$work/apt/sources"
    -o "Dir::State::Lists=$work/apt/lists" -o "Dir::Cache=$work/apt/cache")
# As root, apt hands downloads to its own user, who may not write here.
[ "$(id -u)" -ne 0 ] || apt_options+=(-o APT::Sandbox::User=root)
apt-get "${apt_options[@]}" -q update >/dev/null
(cd "$work/source" && apt-get "${apt_options[@]}" -q source --download-only "qt6-base=$debian_version" >/dev/null)
orig="$work/source/qt6-base_$upstream.orig.tar.xz"
[ -f "$orig" ] || {
    echo "build-qt-mingw: apt-get source gave no $orig" >&2
    exit 1
}

echo "== Unpacking $(basename "$orig") and applying scripts/qt-mingw-no-opengl.patch"
src="$work/qtbase-everywhere-src-$qt_mingw_version"
rm -rf "$src"
tar -xJf "$orig" -C "$work"
patch -p1 -d "$src" -i "$top/scripts/qt-mingw-no-opengl.patch"

echo "== Configuring"
prefix="$work/$qt_mingw_name"
rm -rf "$work/build"
cmake -S "$src" -B "$work/build" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$top/scripts/mingw64.cmake" \
    -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
    -DCMAKE_INSTALL_PREFIX="$prefix" -DCMAKE_BUILD_TYPE=Release -DBUILD_SHARED_LIBS=ON \
    -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DQT_BUILD_BENCHMARKS=OFF \
    -DFEATURE_sql=OFF -DFEATURE_network=OFF -DFEATURE_dbus=OFF -DFEATURE_opengl=OFF \
    -DFEATURE_tabletevent=OFF -DFEATURE_printsupport=OFF -DFEATURE_concurrent=OFF \
    -DFEATURE_vulkan=OFF -DFEATURE_xml=OFF -DFEATURE_zstd=OFF \
    -DFEATURE_system_zlib=OFF -DFEATURE_system_pcre2=OFF -DFEATURE_system_harfbuzz=OFF \
    -DFEATURE_system_freetype=OFF -DFEATURE_system_png=OFF -DFEATURE_system_jpeg=OFF >"$work/configure.log"

echo "== Building (about an hour on 2 cores)"
cmake --build "$work/build" -j "$jobs"
rm -rf "$prefix"
cmake --install "$work/build" >/dev/null
x86_64-w64-mingw32-strip --strip-unneeded "$prefix"/bin/*.dll "$prefix"/plugins/*/*.dll

echo "== Packing"
mkdir -p "$out"
out="$(cd "$out" && pwd)"
archive="$qt_mingw_name.tar.xz"
# Written beside and renamed, so scripts/windows.sh never meets half an archive or an
# archive with the checksum of another.
rm -f "$out/$archive.sha256"
(cd "$work" && XZ_OPT=-T0 tar --sort=name --owner=0 --group=0 --numeric-owner -cJf "$out/$archive.part" \
    "$qt_mingw_name")
checksum="$(sha256sum "$out/$archive.part" | awk '{print $1}')"
mv "$out/$archive.part" "$out/$archive"
echo "$checksum  $archive" >"$out/$archive.sha256"
echo "build-qt-mingw: $out/$archive, $(stat -c %s "$out/$archive") bytes, in $(((SECONDS - started) / 60)) min"
if [ "$out" != "$(cd "$qt_mingw_folder" 2>/dev/null && pwd)" ]; then
    echo "build-qt-mingw: scripts/windows.sh finds it with CUEWRIGHT_TOOLCHAINS=$out"
fi
