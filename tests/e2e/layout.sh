#!/usr/bin/env bash
# Sheets keep the look the user gives them, the real program under a real X server with the
# mouse and keys: each sheet has its own display size, a sheet saved at 125％ reopens at it, a
# column dragged wider is saved by Ctrl+S, a column dragged to zero width is brought back, and
# after 重ねて表示 the front sheet takes clicks and typing. Sizes are read from the current
# cell's box at 96 dpi: 1200 by 360 twips are 80 by 24 pixels.
set -u
prog="$1"
source "$(dirname "$0")/lib.sh"
begin

# 設定 → 表示サイズ → the size's entry, by keyboard.
size() { # 75, 100 or 125
    case "$1" in
    75) keys alt+s Right Return ;;
    100) keys alt+s Right Down Return ;;
    125) keys alt+s Right Down Down Return ;;
    esac
}
expect_box() { # what width height
    dump >/dev/null
    [ "$current_w x $current_h" = "$2 x $3" ] || failed "$1: current cell is $current_w x $current_h, expected $2 x $3"
}
# A file dialog of that title: once it shows, the path typed into it and Return, and the
# keyboard back to the main window once the dialog has gone.
file_dialog() { # title path
    local id
    id=$(await_window "$1") || { failed "no window $1"; return 1; }
    xdotool windowfocus --sync "$id"
    keys ctrl+a
    typed "$2"
    return_until_gone "$id" || failed "the window $1 stays open"
    xdotool windowfocus --sync "$window"
}
save_as() { # path
    keys alt+f a
    file_dialog "名前を付けて保存" "$1"
}
# The mouse's events reach the program in order, as the keys do: no pause between them.
drag() { # from-x y to-x
    xdotool mousemove "$1" "$2" mousedown 1
    xdotool mousemove $((($1 + $3) / 2)) "$2"
    xdotool mousemove "$3" "$2"
    xdotool mouseup 1
}

# Two sheets at two sizes: each keeps its own, whatever the other chose.
keys ctrl+n
size 75
expect_box "first sheet at 75％" 60 18
keys ctrl+n
size 125
expect_box "second sheet at 125％" 100 30
keys ctrl+Tab
expect_box "first sheet after the second chose 125％" 60 18
size 100
expect_box "first sheet at 100％" 80 24
keys ctrl+Tab
expect_box "second sheet after the first chose 100％" 100 30

# Saved at 125％, the sheet reopens at 125％ (once saved elsewhere, its first file is free).
typed "x"; keys Return Escape
save_as "$work/big"
save_as "$work/other"
keys ctrl+o
file_dialog "開く" "$work/big.zel"
dump >/dev/null
[ "$open_sheets" = 3 ] || failed "big.zel did not open: $open_sheets sheets"
expect_box "reopened" 100 30

# Column B dragged 30 pixels wider on its heading's right border; Ctrl+S writes the width.
keys ctrl+Home Right
dump >/dev/null
border=$((current_x + current_w))
heading_y=$((current_y - current_h / 2))
drag "$((border - 1))" "$heading_y" "$((border + 29))"
keys ctrl+s
dump >/dev/null # answered once Ctrl+S has been handled and its file written
widths=$(sed -n '/"00.00"/,$p' "$work/big.zel" | sed -n '2,3p' | tr -d '\r' | tr '\n' ' ')
# (1500 + 30 × 15) ÷ 1.25 twips
[ "$widths" = "1200 1560 " ] || failed "Ctrl+S after the drag: widths of A and B are [$widths]"

# Column C dragged to zero width, then grabbed just right of B's border and widened again.
keys Right
dump >/dev/null
border=$((current_x + current_w))
drag "$((border - 1))" "$heading_y" "$((current_x - 20))"
expect_box "C dragged to zero" 0 30
drag "$((current_x + 2))" "$heading_y" "$((current_x + 62))"
dump >/dev/null
[ "$current_w" -ge 55 ] && [ "$current_w" -le 65 ] || failed "hidden C widened to $current_w pixels, expected about 60"

# 重ねて表示: the front sheet shows its cells; a click and typing land in the clicked cell.
keys alt+w Return
keys ctrl+Home
dump >/dev/null
xdotool mousemove $((current_x + current_w / 2)) $((current_y + current_h * 3 / 2)) click 1
typed "zz"; keys Return Escape
cells=$(dump)
grep -qx $'A2\tzz' <<<"$cells" || failed "after 重ねて表示 a click on A2 and typing: [$cells]"

kill -0 "$program" 2>/dev/null || failed "the program ended"
[ $fail -eq 0 ] && note "layout: all checks passed"
exit $fail
