#!/usr/bin/env bash
# A command from the menu bar writes the cell whose editor is open; Escape then leaves the cell
# showing what the command wrote. The real program under a real X server, driven by keys.
set -u
prog="$1"
source "$(dirname "$0")/lib.sh"
begin

keys ctrl+n
typed "5"; keys Return Escape
# Back on A1, Enter opens its editor on 5.
keys Up Return
expect_cells "A1 being edited" A1=5

# 編集 > 削除 through the menu's mnemonics, then Escape in the editor.
keys alt+e
keys d
keys Escape
expect_cells "after 削除 and Escape"

# Delete leaves the editor's own text: Enter instead of Escape commits it.
typed "7"; keys Return Escape Up Return
keys alt+e
keys d
keys Return Escape
expect_cells "Enter after 削除" A1=7

kill -0 "$program" 2>/dev/null || failed "the program ended"
[ $fail -eq 0 ] && note "edited_cell: all checks passed"
exit $fail
