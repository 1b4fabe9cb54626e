#!/usr/bin/env bash
# Fails when an arrow points up: a core program (a core test, a fuzz replay, a tool) that
# loads Qt Gui, Widgets or the desktop's other modules, or a core source that includes a
# window's header or Qt Gui's.
#   check_core_arrows.sh SOURCE_DIR PROGRAM...
set -uo pipefail
top="$1"
shift
failed=0
for program in "$@"; do
    if [ ! -e "$program" ]; then
        echo "FAIL: $program is not built"
        failed=1
        continue
    fi
    gui=$(readelf -d "$program" | grep -oE 'libQt6(Gui|Widgets|Multimedia|Charts|OpenGL)[^]]*' |
          tr '\n' ' ' || true)
    if [ -n "$gui" ]; then
        echo "FAIL: $(basename "$program") is core but loads $gui"
        failed=1
    fi
done
# The core's own folders, and the console commands that run without a screen.
includes=$(grep -rnE '^\s*#\s*include\s*[<"](gui/|QtGui|QtWidgets|QtMultimedia|QtCharts)' \
           "$top/src/core" "$top/src/apps/console" "$top/src/apps/zrk-line" || true)
if [ -n "$includes" ]; then
    echo "FAIL: core sources include the GUI's headers:"
    echo "$includes" | sed "s|^$top/|    |"
    failed=1
fi
[ "$failed" -eq 0 ] && echo "core_arrows: $# core programs, none loads Qt Gui or Widgets"
exit "$failed"
