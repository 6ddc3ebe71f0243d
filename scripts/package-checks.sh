#!/usr/bin/env bash
# Validates what scripts/package.sh made, with the tools a distribution would use,
# and runs the program as installed: from the unpacked .deb and from the unpacked
# tarball, each in a scratch folder. Fails on any error and on any warning of the
# desktop-entry and AppStream validators or the manual page formatter; prints
# lintian's warnings and fails on its errors.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

"$top/scripts/deps.sh" desktop-file-utils appstream lintian man-db file dpkg

packages="$top/build-package/packages"
shopt -s nullglob
debs=("$packages"/cuewright_*.deb)
tarballs=("$packages"/cuewright-*.tar.gz)
shopt -u nullglob
if [ ${#debs[@]} -ne 1 ] || [ ${#tarballs[@]} -ne 1 ]; then
    echo "package-checks: expected one .deb and one .tar.gz in $packages; run scripts/package.sh first" >&2
    exit 1
fi
deb="${debs[0]}"
tarball="${tarballs[0]}"
app_id=org.cuewright.Cuewright
failures=0
fail() {
    echo "FAILED: $*"
    failures=$((failures + 1))
}

scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
root="$scratch/deb"
dpkg-deb -x "$deb" "$root"
version="$(dpkg-deb -f "$deb" Version)"

echo "== $(basename "$deb"): $(stat -c %s "$deb") bytes"
dpkg-deb -f "$deb" Package Version Architecture Maintainer Section Priority Installed-Size Depends Recommends Suggests
dpkg-deb -c "$deb" | awk '{print $1, $3, $6}'

echo "== desktop-file-validate"
# It prints errors and warnings, and hints for what is allowed but unusual.
desktop_report="$(desktop-file-validate "$root/usr/share/applications/$app_id.desktop" 2>&1)" || true
echo "${desktop_report:-(no output)}"
if grep -qE ': (error|warning): ' <<<"$desktop_report"; then fail "desktop-file-validate"; else echo "ok: desktop-file-validate"; fi

echo "== appstreamcli validate --no-net"
appstream_status=0
appstream_report="$(appstreamcli validate --no-net --pedantic "$root/usr/share/metainfo/$app_id.metainfo.xml" 2>&1)" ||
    appstream_status=$?
echo "$appstream_report"
if [ "$appstream_status" -ne 0 ] || grep -qE '^(E|W): ' <<<"$appstream_report"; then
    fail "appstreamcli validate"
else
    echo "ok: appstreamcli validate (pedantic notes are printed, not counted)"
fi

echo "== the manual page, formatted as man does (groff warnings fail)"
man_report="$(LC_ALL=C.UTF-8 MANROFFSEQ='' MANWIDTH=80 \
    man --warnings -E UTF-8 -l -Tutf8 -Z "$root/usr/share/man/man1/cuewright.1.gz" 2>&1 >/dev/null)" || true
echo "${man_report:-(no warnings)}"
[ -z "$man_report" ] && echo "ok: manual page" || fail "manual page"

echo "== lintian"
lintian_report="$(lintian --allow-root --display-info --tag-display-limit 0 "$deb" 2>&1)" || true
echo "${lintian_report:-(no tags)}"
if grep -qE '^E: ' <<<"$lintian_report"; then fail "lintian errors"; else echo "ok: lintian, no errors"; fi

echo "== what Debian wants of the files"
file_of() { file -b "$1"; }
[[ "$(file_of "$root/usr/bin/cuewright")" == *", stripped"* ]] && echo "ok: the program is stripped" ||
    fail "the program is not stripped: $(file_of "$root/usr/bin/cuewright")"
for compressed in usr/share/doc/cuewright/changelog.gz usr/share/man/man1/cuewright.1.gz; do
    [[ "$(file_of "$root/$compressed")" == *"max compression"* ]] && echo "ok: $compressed, gzip -9" ||
        fail "$compressed is not compressed with gzip -9: $(file_of "$root/$compressed")"
done
grep -q '^Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' \
    "$root/usr/share/doc/cuewright/copyright" && echo "ok: machine-readable copyright" ||
    fail "the copyright file is not machine-readable"
[[ "$(dpkg-deb -f "$deb" Depends)" == *libqt6widgets6* ]] && echo "ok: Depends computed from the binary" ||
    fail "Depends lacks the Qt libraries the program links"

# run_installed NAME PROGRAM: the installed program from a scratch folder with no
# game root in it and a home without a Darwinia profile.
run_installed() {
    local name="$1" program="$2"
    local work="$scratch/work-$name" home="$scratch/home-$name"
    mkdir -p "$work" "$home"
    echo "== $name: $program"
    local output status

    output="$(cd "$work" && HOME="$home" "$program" --version)" && status=0 || status=$?
    echo "$output"
    [ "$status" -eq 0 ] && [ "$output" = "cuewright $version" ] && echo "ok: $name --version" ||
        fail "$name --version gave status $status: $output"

    output="$(cd "$work" && HOME="$home" "$program" check --root "$top/examples/gameroot" "Garden Return" 2>&1)" &&
        status=0 || status=$?
    [ "$status" -eq 0 ] && [ -z "$output" ] && echo "ok: $name check --root examples/gameroot \"Garden Return\"" ||
        fail "$name check gave status $status: $output"

    # Without a game root the catalogue that ships with the program is used. Only a
    # program that knows --which has that fallback.
    if (cd "$work" && HOME="$home" "$program" commands --root "$top/examples/gameroot" --which >/dev/null 2>&1); then
        local shipped
        shipped="$(realpath "$(dirname "$program")/../share/cuewright/commands.txt")"
        output="$(cd "$work" && HOME="$home" "$program" commands --which 2>&1)" && status=0 || status=$?
        [ "$status" -eq 0 ] && [ "$(realpath "$output" 2>/dev/null)" = "$shipped" ] &&
            echo "ok: $name commands --which: $output" ||
            fail "$name commands --which gave status $status: $output (expected $shipped)"
        # The shipped catalogue is the example game root's, byte for byte.
        local expected
        expected="$("$program" commands --root "$top/examples/gameroot")"
        output="$(cd "$work" && HOME="$home" "$program" commands 2>&1)" && status=0 || status=$?
        [ "$status" -eq 0 ] && [ -n "$output" ] && [ "$output" = "$expected" ] &&
            echo "ok: $name commands: the $(wc -l <<<"$output") entries of the shipped catalogue" ||
            fail "$name commands gave status $status and not the shipped catalogue: ${output:0:300}"
    else
        echo "skipped: $name commands with the shipped catalogue (this program has no commands --which yet)"
    fi
}
run_installed deb "$root/usr/bin/cuewright"

mkdir -p "$scratch/tgz"
tar -xzf "$tarball" -C "$scratch/tgz"
echo "== $(basename "$tarball"): $(stat -c %s "$tarball") bytes"
tar -tzf "$tarball"
run_installed tarball "$(echo "$scratch"/tgz/cuewright-*/bin/cuewright)"

echo
if [ "$failures" -ne 0 ]; then
    echo "package-checks: $failures failed"
    exit 1
fi
echo "package-checks: all passed"
