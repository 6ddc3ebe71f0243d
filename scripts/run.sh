#!/usr/bin/env bash
# Builds Cuewright and opens it on the example game root (or on the folder given
# with --root, and with any other option of the program).
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

"$top/scripts/deps.sh" "${build_packages[@]}"
configure default
cmake --build "$top/build" --target cuewright -j "$jobs"

if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
    echo "No display found (DISPLAY and WAYLAND_DISPLAY are empty). On a machine without one," >&2
    echo "run it under Xvfb: xvfb-run -a scripts/run.sh" >&2
fi
args=("$@")
[[ " $* " == *" --root "* ]] || args=(--root "$top/examples/gameroot" "$@")
exec "$top/build/bin/cuewright" "${args[@]}"
