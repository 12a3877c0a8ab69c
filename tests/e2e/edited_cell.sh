#!/usr/bin/env bash
# A command from the menu bar writes the cell whose editor is open; Escape then leaves the cell
# showing what the command wrote. The real program under a real X server, driven by keys.
set -u
prog="$1"
source "$(dirname "$0")/lib.sh"
start_display
if ! start_program; then
    failed "the program shows no window"
    exit 1
fi

keys ctrl+n
typed "5"; keys Return Escape
# Back on A1, Enter opens its editor on 5.
keys Up Return
actual=$(dump)
[ "$actual" = "$(printf 'A1\t5')" ] || failed "A1 being edited: expected [A1 5] got [$actual]"

# 編集 > 削除 through the menu's mnemonics, then Escape in the editor.
keys alt+e
keys d
keys Escape
actual=$(dump)
[ -z "$actual" ] || failed "after 削除 and Escape A1 must be empty: got [$actual]"

# Delete leaves the editor's own text: Enter instead of Escape commits it.
typed "7"; keys Return Escape Up Return
keys alt+e
keys d
keys Return Escape
actual=$(dump)
[ "$actual" = "$(printf 'A1\t7')" ] || failed "Enter after 削除: expected [A1 7] got [$actual]"

kill -0 "$program" 2>/dev/null || failed "the program ended"
[ $fail -eq 0 ] && note "edited_cell: all checks passed"
exit $fail
