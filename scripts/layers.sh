#!/usr/bin/env bash
# Checks that each layer includes only what lies below it (CI runs this): the core
# neither Qt nor the window; the window's model (src/gui/model) only the core, itself
# and Qt's core and GUI modules, never a widget, which Qt's include folder would let
# it reach; the command-line tools neither Qt nor the window.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
cd "$top"
qt_headers="$(qtpaths6 --query QT_INSTALL_HEADERS 2>/dev/null || true)"
failed=0
complain() {
    echo "layers: $1" >&2
    failed=1
}

# includes FILE: each of its #include targets, one per line.
includes() {
    sed -nE 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*[<"]([^>"]+)[>"].*/\1/p' "$1"
}

# each_include PATTERN...: "FILE TARGET" for each #include of the files git lists.
each_include() {
    local file target
    while IFS= read -r file; do
        while IFS= read -r target; do
            printf '%s %s\n' "$file" "$target"
        done < <(includes "$file")
    done < <(git ls-files "$@")
}

while read -r file target; do
    case "$target" in
    gui/* | cli/* | Q* | Qt*) complain "$file includes $target: the core knows neither the window nor Qt" ;;
    esac
done < <(each_include 'src/core/*.h' 'src/core/*.cpp')

while read -r file target; do
    case "$target" in
    gui/*) complain "$file includes $target: the tools know nothing of the window" ;;
    Q* | Qt*) complain "$file includes $target: the tools do without Qt" ;;
    esac
done < <(each_include 'src/cli/*.h' 'src/cli/*.cpp')

while read -r file target; do
    case "$target" in
    gui/model/* | core/*) ;;
    gui/*) complain "$file includes $target: the model lies below every part of the window" ;;
    QtWidgets/* | QtWidgets) complain "$file includes $target, a widget header" ;;
    Q*)
        # A class header of Qt, found in one module's folder: it must not be Widgets'.
        if [ -n "$qt_headers" ] && [ -e "$qt_headers/QtWidgets/$target" ] &&
            [ ! -e "$qt_headers/QtGui/$target" ] && [ ! -e "$qt_headers/QtCore/$target" ]; then
            complain "$file includes <$target>, a widget header"
        fi
        ;;
    esac
done < <(each_include 'src/gui/model/*.h' 'src/gui/model/*.cpp')

if [ "$failed" -ne 0 ]; then
    exit 1
fi
echo "layers: the core, the tools and the window's model include only what lies below them"
