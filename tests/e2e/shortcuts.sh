#!/usr/bin/env bash
# The keyboard reaches the commands as the menus promise, with the focus where a user has it:
# menu shortcuts while the cell editor is open and after their menu was greyed with no sheet,
# the Delete key, Tab on a formula cell and F1. The real program under a real X server.
set -u
prog="$1"
source "$(dirname "$0")/lib.sh"
begin

# The Edit menu opened with no sheet greys every entry; its shortcuts must still work later.
keys alt+e
keys Escape Escape
keys ctrl+n
typed "7"; keys Return
typed "8"; keys Return
expect_cells "typed" A1=7 A2=8

# Ctrl+X, Ctrl+V and Ctrl+C with the cell editor focused act on blocks of cells.
keys Escape Up Up Return
keys ctrl+x
expect_cells "Ctrl+X in the editor of A1" A2=8
keys Escape Down Down Return
keys ctrl+v
expect_cells "Ctrl+V in the editor of A3" A2=8 A3=7
keys Escape Up Return
keys ctrl+c
keys Escape Down Down Return
keys ctrl+v
expect_cells "Ctrl+C in the editor of A2, pasted at A4" A2=8 A3=7 A4=8

# The Delete key on the grid, although 削除 was last greyed by the menu.
keys Escape Up
keys Delete
expect_cells "Delete on A3" A2=8 A4=8

# Tab on a formula cell opens its editor on the formula.
typed "=1+2"; keys Return Escape Up
keys Tab
typed "*2"; keys Return
expect_cells "Tab on A3, then *2" A2=8 A3=5 A4=8

# F1 shows the help window.
keys Escape F1
help=""
for _ in $(seq 50); do
    help=$(xdotool search --onlyvisible --name "表計算Tarn! ヘルプ" 2>/dev/null | head -n1)
    [ -n "$help" ] && break
    sleep 0.1
done
[ -n "$help" ] || failed "F1 shows no help window"

kill -0 "$program" 2>/dev/null || failed "the program ended"
[ $fail -eq 0 ] && note "shortcuts: all checks passed"
exit $fail
