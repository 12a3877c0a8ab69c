#!/usr/bin/env bash
# zeltarn-cli show and convert: what a loaded file shows, recalculation, conversion both ways
# with the layout, and the exit statuses of unreadable, unwritable and wrong arguments.
set -u
cli="$1"
fail=0
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
check() { # name expected actual
    if [ "$2" != "$3" ]; then
        printf 'FAIL %s\n--- expected\n%s\n--- actual\n%s\n' "$1" "$2" "$3"
        fail=1
    fi
}

# A1 reads B1, which comes later in the file: the second pass gives it its value.
printf '"=B1*2","4","a,b"\r\n"x""y","","=SUM(A1:B1)"\r\n' >"$work/in.csv"
check "show" "$(printf '8\t4\ta,b\nx"y\t\t12')" "$("$cli" show "$work/in.csv")"
check "digits" "0.3" "$(printf '"=1/3"\r\n' >"$work/third.csv"; "$cli" show --digits 1 "$work/third.csv")"

# A1 reads B1, which reads C1 to its right: after the two loading passes A1 has not seen a
# value of B1 yet; a recalculation brings it up to date.
printf '"=B1+1","=C1+1","5"\r\n' >"$work/chain.csv"
check "no recalc" "$(printf 'Errセル\t6\t5')" "$("$cli" show "$work/chain.csv")"
printf '"=B1+1","=C1+1","5"\r\n"","","=1/0"\r\n' >"$work/chain2.csv"
check "recalc" "$(printf '7\t6\t5\n\t\tErr0割り')" "$("$cli" show --recalc 2 "$work/chain2.csv")"

# CSV to sheet file and back keeps the expressions; the sheet file has the layout trailer.
"$cli" convert "$work/in.csv" "$work/out.zel"
check "convert status" 0 $?
check "trailer" 28 "$(sed -n '/"00.00"/,$p' "$work/out.zel" | wc -l)"
check "CR LF" "$(wc -l <"$work/out.zel")" "$(grep -c $'\r$' "$work/out.zel")"
"$cli" convert "$work/out.zel" "$work/back.csv"
check "round trip" "$(cat "$work/in.csv")" "$(cat "$work/back.csv")"
check "Shift-JIS" "$(printf '"\x93\xfa\x96\x7b"\r\n')" "$(printf '"日本"\n' >"$work/u.csv"; "$cli" convert "$work/u.csv" "$work/s.csv"; cat "$work/s.csv")"

# A cell over two lines, as other spreadsheets write it: one cell, written back in quotes.
printf '"a","line 1\nline 2"\r\n"b""","c"\r\n' >"$work/multi.csv"
check "multi-line show" "$(printf 'a\tline 1\nline 2\nb"\tc')" "$("$cli" show "$work/multi.csv")"
"$cli" convert "$work/multi.csv" "$work/multi-out.csv"
check "multi-line written back" "$(cat "$work/multi.csv")" "$(cat "$work/multi-out.csv")"

# Seven characters other systems write are saved as code page 932's look-alikes; the yen sign,
# which code page 932 would write as a backslash, is still refused.
printf '"〜—‖−¢£¬"\r\n' >"$work/look.csv"
"$cli" convert "$work/look.csv" "$work/look-out.csv"
check "look-alikes saved" 0 $?
check "look-alike bytes" "$(printf '"\x81\x60\x81\x5c\x81\x61\x81\x7c\x81\x91\x81\x92\x81\xca"\r\n')" \
    "$(cat "$work/look-out.csv")"
check "look-alikes reopened" "～―∥－￠￡￢" "$("$cli" show "$work/look-out.csv")"
printf '"価格¥100"\r\n' >"$work/yen.csv"
"$cli" convert "$work/yen.csv" "$work/yen-out.csv" 2>/dev/null
check "yen refused" 2 $?

# Rows beyond 500 or fields beyond Z: done with status 1, what fits written; a failed write
# still says 2.
seq 501 >"$work/long.csv"
"$cli" show "$work/long.csv" >/dev/null 2>&1
check "show, rows left out" 1 $?
"$cli" convert "$work/long.csv" "$work/long-out.csv" 2>/dev/null
check "convert, rows left out" 1 $?
check "what fits written" 500 "$(wc -l <"$work/long-out.csv")"
printf '%s\r\n' "$(seq -s, 27)" >"$work/wide.csv"
"$cli" show "$work/wide.csv" >/dev/null 2>&1
check "show, fields left out" 1 $?
"$cli" convert "$work/long.csv" "$work/no/such/dir/x.csv" 2>/dev/null
check "left out and unwritable" 2 $?

"$cli" show "$work/missing.csv" >/dev/null 2>&1
check "unreadable" 2 $?
# Only regular files within 16 MiB are read: a device and a pipe without a writer are refused
# at once, and so is a file one byte too large.
timeout 10 "$cli" show /dev/zero >/dev/null 2>&1
check "a device" 2 $?
mkfifo "$work/pipe.csv"
timeout 10 "$cli" show "$work/pipe.csv" >/dev/null 2>&1
check "a pipe" 2 $?
truncate -s $((16 * 1024 * 1024 + 1)) "$work/big.csv"
"$cli" show "$work/big.csv" >/dev/null 2>"$work/err"
check "too large" 2 $?
grep -q "16 MiB" "$work/err" || { echo "FAIL too large says why"; fail=1; }
"$cli" convert "$work/in.csv" "$work/no/such/dir/x.csv" 2>/dev/null
check "unwritable" 2 $?
printf '"€"\r\n' >"$work/e.csv"
"$cli" convert "$work/e.csv" "$work/e-out.csv" 2>"$work/err"
check "unencodable" 2 $?
grep -q 'A1' "$work/err" || { echo "FAIL unencodable names its cell"; fail=1; }
[ ! -e "$work/e-out.csv" ] || { echo "FAIL unencodable wrote a file"; fail=1; }
"$cli" show >/dev/null 2>&1
check "no file" 64 $?
"$cli" show --recalc x "$work/in.csv" >/dev/null 2>&1
check "bad recalc" 64 $?

[ $fail -eq 0 ] && echo "cli_files: all checks passed"
exit $fail
