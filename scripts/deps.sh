#!/usr/bin/env bash
# Installs the Debian packages named on the command line that are not installed yet.
# Safe to run again: with everything present it does nothing. Uses apt-get directly
# as root and through sudo otherwise.
set -euo pipefail

missing=()
for package in "$@"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$package")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

if ! command -v apt-get >/dev/null 2>&1; then
    echo "These packages are needed but this is not a Debian system: ${missing[*]}" >&2
    exit 1
fi
as_root=()
[ "$(id -u)" -eq 0 ] || as_root=(sudo)

echo "Installing: ${missing[*]}" >&2
export DEBIAN_FRONTEND=noninteractive
# Try without refreshing the package lists first; refresh only when that fails.
if ! "${as_root[@]}" apt-get install -y --no-install-recommends "${missing[@]}"; then
    "${as_root[@]}" apt-get update
    "${as_root[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
fi
