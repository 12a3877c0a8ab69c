#!/usr/bin/env bash
# Files in and out as a user meets them, the real program under a real X server with Qt's own
# file dialogs: a sheet saved under a new name is not opened in a second window; typing after
# Open lands in A1 of a full sheet; the address label follows the grid's own keys and the
# switch to another sheet.
set -u
prog="$1"
source "$(dirname "$0")/lib.sh"

# A full sheet: every cell of its 500 rows and 26 columns holds its own name.
python3 - "$work/full.csv" <<'PY'
import sys
with open(sys.argv[1], "w", newline="") as f:
    for r in range(1, 501):
        f.write(",".join(f'"{chr(64 + c)}{r}"' for c in range(1, 27)) + "\r\n")
PY
begin

# Gives a dialog the keyboard, presses keys, then Return until the dialog has gone, and gives the
# keyboard back to the main window.
answer_dialog() { # title, keys typed first...
    local id
    id=$(await_window "$1") || { failed "no window $1"; return 1; }
    shift
    xdotool windowfocus --sync "$id"
    [ $# -gt 0 ] && keys "$@"
    return_until_gone "$id" || failed "the window stays open"
    xdotool windowfocus --sync "$window"
}
# A path typed into the file dialog of that title.
choose_file() { # title path
    local id
    id=$(await_window "$1") || { failed "no dialog $1"; return 1; }
    xdotool windowfocus --sync "$id"
    keys ctrl+a
    typed "$2"
    answer_dialog "$1"
}
# Passes when the address label names the current cell (B3 as "B 3") and that cell is the given one.
expect_label() { # what cell
    dump >/dev/null
    local named
    named=$(printf '%s' "$current_cell" | sed -E 's/^([A-Z])([0-9]+)$/\1 \2/')
    [ "$current_cell" = "$2" ] || failed "$1: current cell $current_cell, expected $2"
    [ "$address_label" = "$named" ] || failed "$1: label [$address_label] beside current cell $current_cell"
}

# Save As to a new name, then Open on that name: refused, no second window on the file.
keys ctrl+n
typed "1"; keys Return Escape
keys alt+f a
choose_file "名前を付けて保存" "$work/sales"
# The program writes the file after its dialog has gone, while the test goes on.
wait_until 10 test -f "$work/sales.zel"
[ -f "$work/sales.zel" ] || failed "Save As wrote no sales.zel"
keys ctrl+o
choose_file "開く" "$work/sales.zel"
answer_dialog "表計算Tarn!" || failed "Open of the saved name says nothing"
dump >/dev/null
[ "$open_sheets" = 1 ] || failed "Save As then Open: $open_sheets sheets open"

# Open a full sheet and type: the text lands in A1, the cell the label names.
keys ctrl+o
choose_file "開く" "$work/full.csv"
expect_label "after Open" A1
typed "abc"; keys Return Escape
cells=$(dump)
grep -qx $'A1\tabc' <<<"$cells" || failed "typing after Open: A1 shows [$(grep $'^A1\t' <<<"$cells")]"
grep -qx $'Z500\tZ500' <<<"$cells" || failed "typing after Open changed Z500: [$(grep $'^Z500\t' <<<"$cells")]"
expect_label "after Enter" A2

# The grid's own keys move the cell the label names.
keys Down Right
expect_label "after Down, Right" B3
keys Next
dump >/dev/null
page_row=${current_cell#B}
[[ "$page_row" =~ ^[0-9]+$ && "$page_row" -gt 3 ]] || failed "PageDown did not move down: $current_cell"
expect_label "after PageDown" "B$page_row"
keys ctrl+End
expect_label "after Ctrl+End" Z500
keys Home
expect_label "after Home" A500
keys ctrl+Home
expect_label "after Ctrl+Home" A1

# Another sheet to the front: the label names its current cell.
keys Down Down
keys ctrl+Tab
dump >/dev/null
[ "$current_cell" = A2 ] || failed "Ctrl+Tab did not bring the new sheet: $current_cell"
expect_label "after switching sheets" A2
keys ctrl+Tab
expect_label "after switching back" A3

# A book Gnumeric wrote opens through the dialog, its formula unknown to us told and taken as its
# value; typing and Save keep it a book that Gnumeric reads back.
if command -v ssconvert >/dev/null; then
    printf 'Apples,3,=B1*2\r\nPears,2.5,"=ROUND(B2*3,0)"\r\n' >"$work/fruit.csv"
    ssconvert "$work/fruit.csv" "$work/fruit.xlsx" >/dev/null 2>&1 || failed "ssconvert wrote no book"
    keys ctrl+o
    choose_file "開く" "$work/fruit.xlsx"
    answer_dialog "表計算Tarn!" || failed "a book's formulas taken as values are not told"
    expect_cells "the book Gnumeric wrote" A1=Apples B1=3 C1=6 A2=Pears B2=2.5 C2=8
    keys Right
    typed "4"; keys Return
    before=$(md5sum <"$work/fruit.xlsx")
    keys ctrl+s
    wait_until 10 bash -c '[ "$(md5sum <"$1")" != "$2" ]' _ "$work/fruit.xlsx" "$before" ||
        failed "Save did not write the book"
    ssconvert "$work/fruit.xlsx" "$work/fruit-back.csv" >/dev/null 2>&1
    [ "$(tr -d '\r' <"$work/fruit-back.csv")" = $'Apples,4,8\nPears,2.5,8' ] ||
        failed "Gnumeric reads the saved book as [$(cat "$work/fruit-back.csv")]"

    # Save As with the book filter chosen by keys: the name gains .xlsx and the file is a book.
    keys ctrl+n
    typed "7"; keys Return Escape
    keys alt+f a
    id=$(await_window "名前を付けて保存") || failed "no Save As dialog"
    xdotool windowfocus --sync "$id"
    keys ctrl+a
    typed "$work/fresh"
    keys Tab Down Down
    answer_dialog "名前を付けて保存"
    wait_until 10 test -f "$work/fresh.xlsx" || failed "Save As with the book filter wrote no fresh.xlsx"
    ssconvert "$work/fresh.xlsx" "$work/fresh-back.csv" >/dev/null 2>&1
    [ "$(tr -d '\r' <"$work/fresh-back.csv")" = 7 ] ||
        failed "Gnumeric reads fresh.xlsx as [$(cat "$work/fresh-back.csv" 2>/dev/null)]"
fi

# Quitting with two new sheets: the first saved from its question under a name, the second's
# question cancelled. The program stays, and the saved sheet is captioned with its file.
keys ctrl+n
typed "q"; keys Return Escape
keys ctrl+n
typed "r"; keys Return Escape
keys alt+f e
answer_dialog "保存の確認" n # full.csv, typed into above
answer_dialog "保存の確認" # the first new sheet: はい, the default
choose_file "名前を付けて保存" "$work/kept"
id=$(await_window "保存の確認") || failed "no question for the second new sheet"
xdotool windowfocus --sync "$id"
keys Escape
wait_until 10 gone "$id" || failed "Cancel left the question open"
xdotool windowfocus --sync "$window"
wait_until 10 test -f "$work/kept.zel" || failed "the question's Save As wrote no kept.zel"
keys ctrl+Tab
dump >/dev/null
[ "$open_sheets" = 6 ] || failed "after a cancelled quit $open_sheets sheets are open"
caption=$(xdotool getwindowname "$window")
[ "$caption" = "表計算Tarn! - [$work/kept.zel]" ] || failed "the sheet saved on quitting is captioned [$caption]"

kill -0 "$program" 2>/dev/null || failed "the program ended"
[ $fail -eq 0 ] && note "data_in_out: all checks passed"
exit $fail
