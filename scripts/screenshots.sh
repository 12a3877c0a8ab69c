#!/usr/bin/env bash
# Takes the README's screenshots under a private X server: the sample sheet with its formulas
# and markers, the print preview of a block, and a chart of it. Writes docs/images/*.png.
# Usage: bash scripts/screenshots.sh [BUILD_DIR]   (default build; run scripts/run.sh or
# scripts/test.sh first so that the program is built)
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build}"
prog="$PWD/$build/src/app/zeltarn"
out="$PWD/docs/images"
mkdir -p "$out"
source tests/e2e/lib.sh
start_display

shot() { # window name
    xwd -silent -id "$1" | xwdtopnm 2>/dev/null | pnmtopng >"$out/$2.png"
    echo "wrote docs/images/$2.png"
}
window_named() { # title
    for _ in $(seq 100); do
        id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | tail -n1)
        [ -n "$id" ] && { printf '%s' "$id"; return; }
        sleep 0.05
    done
}

start_program "$PWD/samples/sample.zel"
xdotool windowsize --sync "$window" 900 520
sleep 0.5
# A block selected from A1 to D5, as a user drags it.
keys ctrl+Home shift+Down shift+Down shift+Down shift+Down shift+Right shift+Right shift+Right
shot "$window" screenshot-sheet

# プレビュー: the File menu's sixth entry.
keys alt+f Down Down Down Down Down Return
sleep 0.5
preview=$(window_named "プレビュー")
[ -n "$preview" ] && shot "$preview" screenshot-preview
keys Escape
xdotool windowfocus --sync "$window"
sleep 0.3

# グラフ > 表示, the chart dialog's defaults, a title, OK.
keys alt+g Return
dialog=$(window_named "グラフの種類選択")
xdotool windowfocus --sync "$dialog"
sleep 0.3
keys Tab Tab
typed "Fruit sales"
keys Return
sleep 0.5
chart=$(window_named "グラフ")
[ -n "$chart" ] && shot "$chart" screenshot-chart
