#!/usr/bin/env bash
# The real program under a real X server, typed into as a user would: a new sheet, a number,
# formulas referring to it, a marker, recalculation; the shown texts are read back through
# the program's test dump.
set -u
prog="$1"
source "$(dirname "$0")/lib.sh"
start_display
if ! start_program; then
    failed "the program shows no window"
    exit 1
fi

keys ctrl+n
# A1 12, A2 a formula on it, A3 a division by zero, A4 a formula on A2 that reads its old
# value until recalculated. Enter moves down and opens the next cell.
typed "12"; keys Return
typed "=a1*2+1"; keys Return
typed "=1/0"; keys Return
typed "=sum(a1:a2)"; keys Return
keys Escape
expected=$(printf 'A1\t12\nA2\t25\nA3\tErr0割り\nA4\t37')
actual=$(dump)
[ "$actual" = "$expected" ] || failed "after typing: expected [$expected] got [$actual]"

# Change A1 by clicking nowhere: the keyboard goes back to A1 through Up and types over it.
keys Up Up Up Up
typed "5"; keys Return
keys Escape
expected=$(printf 'A1\t5\nA2\t25\nA3\tErr0割り\nA4\t37')
actual=$(dump)
[ "$actual" = "$expected" ] || failed "dependent cells keep their value: expected [$expected] got [$actual]"

# 再計算, the Edit menu's first entry, through the menu's mnemonic.
keys alt+e
keys Return
expected=$(printf 'A1\t5\nA2\t11\nA3\tErr0割り\nA4\t16')
actual=$(dump)
[ "$actual" = "$expected" ] || failed "after recalculation: expected [$expected] got [$actual]"

kill -0 "$program" 2>/dev/null || failed "the program ended"
[ $fail -eq 0 ] && note "cell_entry: all checks passed"
exit $fail
