#!/usr/bin/env bash
# The clipboard against another program under a real X server: the program's text and table
# picture read by xclip, and a text from xclip pasted into cells.
set -u
prog="$1"
source "$(dirname "$0")/lib.sh"
start_display

printf '"1","2"\r\n"=A1+B1","x"\r\n' >"$work/in.csv"
if ! start_program "$work/in.csv"; then
    failed "the program shows no window"
    exit 1
fi

# The Edit menu by keyboard: its enabled entries in order are 再計算, セルを元に戻す, コピー,
# 切り取り, [貼り付け only after a copy], [クリップボードから貼り付け only with text on the
# clipboard], クリップボードへコピー, クリップボードへ表をコピー, 削除.
edit_entry() { # number of Down presses from the first entry
    keys alt+e
    for _ in $(seq "$1"); do keys Down; done
    keys Return
}
# What the program put on the clipboard, read once it has handled the keys before (the dump
# answers after them).
clip_after_keys() { dump >/dev/null; clip "$@"; }

keys ctrl+Home shift+Right shift+Down
edit_entry 4
check_text=$(clip_after_keys)
[ "$check_text" = "$(printf '1\t2\n3\tx')" ] || failed "copied text: [$check_text]"

# The clipboard holds text now, so クリップボードから貼り付け counts among the entries.
edit_entry 6
clip_after_keys -t image/png >"$work/table.png"
size=$(python3 -c 'import struct,sys; d=open(sys.argv[1],"rb").read(24); print(*struct.unpack(">II", d[16:24])) if d[:8]==b"\x89PNG\r\n\x1a\n" else print("none")' "$work/table.png")
# At 96 dpi: headings shrunk to 25 and 22 twips, two columns of 1200 and two rows of 360.
expected=$(python3 -c 'print(round((25+2*1200)*96/1440), round((22+2*360)*96/1440))')
[ "$size" = "$expected" ] || failed "table picture size: expected $expected, got $size"

printf '10\t20\n=a1*3\tz\n' | clip_from_xclip
keys ctrl+Home Right Right shift+Right shift+Down
edit_entry 4
expected=$(printf 'A1\t1\nB1\t2\nC1\t10\nD1\t20\nA2\t3\nB2\tx\nC2\t3\nD2\tz')
actual=$(dump)
[ "$actual" = "$expected" ] || failed "pasted from xclip: expected [$expected] got [$actual]"

# A block from another program with a quoted cell over two lines, quotes doubled, and quotes
# that quote nothing: each cell lands whole in the selected block, and copied back it reads the
# same to the other program.
printf '"line 1\nline 2"\tx\n"He said ""hi"""\t"Hello" he said\n' | clip_from_xclip
keys ctrl+Home Down Down Down shift+Right shift+Down
edit_entry 4
cells=$(dump | grep -E '^[AB][45]'$'\t')
expected=$(printf 'A4\tline 1\\nline 2\nB4\tx\nA5\tHe said "hi"\nB5\t"Hello" he said')
[ "$cells" = "$expected" ] || failed "pasted a quoted block: expected [$expected] got [$cells]"
keys ctrl+Home Down Down Down shift+Right shift+Down
edit_entry 5
check_text=$(clip_after_keys)
expected=$(printf '"line 1\nline 2"\tx\n"He said ""hi"""\t"""Hello"" he said"')
[ "$check_text" = "$expected" ] || failed "copied a quoted block: expected [$expected] got [$check_text]"

kill -0 "$program" 2>/dev/null || failed "the program ended"
[ $fail -eq 0 ] && note "clipboard: all checks passed"
exit $fail
