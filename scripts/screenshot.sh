#!/usr/bin/env bash
# Makes the documentation's pictures of the window, each under Xvfb with the real X11 platform,
# as on a desktop:
#   docs/screenshot-scripts.png    the example game root, the mod "Garden Return" picked
#                                  and its script intro.txt open on the Scripts page, at
#                                  the window's own size;
#   docs/screenshot-maximised.png  the same, maximised on a 1920 x 1200 screen;
#   docs/screenshot-check.png      the mod "Checker Demo" with broken_cutscene.txt open,
#                                  its rows marked, and the Check panel docked beside;
#   docs/screenshot-timeline.png   intro.txt again, with the Timeline panel docked;
#   docs/screenshot-caption.png    intro.txt with line 13's caption in the Caption panel.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

"$top/scripts/deps.sh" "${build_packages[@]}" xvfb xauth fonts-dejavu-core
configure default
cmake --build "$top/build" --target cuewright_screenshot -j "$jobs"

# shot SCREEN OUTPUT MOD SCRIPT [options...]
shot() {
    local screen="$1" output="$2" mod="$3" script="$4"
    shift 4
    QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 ${screen}x24" \
        "$top/build/tools/cuewright_screenshot" --root "$top/examples/gameroot" --mod "$mod" \
        --script "$script" --output "$top/docs/$output" "$@"
}

mkdir -p "$top/docs"
shot 1280x1024 screenshot-scripts.png "Garden Return" intro.txt
shot 1920x1200 screenshot-maximised.png "Garden Return" intro.txt --maximized yes
shot 1280x1024 screenshot-check.png "Checker Demo" broken_cutscene.txt --check yes
shot 1600x1024 screenshot-timeline.png "Garden Return" intro.txt --timeline yes
shot 1600x1024 screenshot-caption.png "Garden Return" intro.txt --caption 12
