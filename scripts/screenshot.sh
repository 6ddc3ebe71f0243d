#!/usr/bin/env bash
# Makes the README's pictures of the window: docs/screenshot-scripts.png, the example
# game root with the mod "Garden Return" picked in the mod list and its script
# intro.txt open on the Scripts page; and docs/screenshot-check.png, the mod "Checker
# Demo" with broken_cutscene.txt open, its rows marked, and the findings window beside. The window runs under Xvfb with the real X11
# platform, as on a desktop.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

"$top/scripts/deps.sh" "${build_packages[@]}" xvfb xauth fonts-dejavu-core
configure default
cmake --build "$top/build" --target cuewright_screenshot -j "$jobs"

mkdir -p "$top/docs"
QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1280x1024x24" \
    "$top/build/tools/cuewright_screenshot" --root "$top/examples/gameroot" --mod "Garden Return" \
    --script intro.txt --output "$top/docs/screenshot-scripts.png"
QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1280x1024x24" \
    "$top/build/tools/cuewright_screenshot" --root "$top/examples/gameroot" --mod "Checker Demo" \
    --script broken_cutscene.txt --check yes --output "$top/docs/screenshot-check.png"
