#!/usr/bin/env bash
# Files exchanged with Gnumeric, the real program (its ssconvert): a sheet Gnumeric writes as
# Shift-JIS CSV, with a cell over two lines, doubled quotes and the characters it writes as code
# page 932's look-alikes, reads cell for cell; our CSV of it reads back into Gnumeric the same.
set -u
cli="$1"
if ! command -v ssconvert >/dev/null; then
    echo "ssconvert (Debian package gnumeric) is missing: scripts/setup-deps.sh installs it"
    exit 77
fi
fail=0
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export HOME="$work" # Gnumeric keeps its settings there
check() { # name expected actual
    if [ "$2" != "$3" ]; then
        printf 'FAIL %s\n--- expected\n%s\n--- actual\n%s\n' "$1" "$2" "$3"
        fail=1
    fi
}
# Gnumeric's cells, row by row, cells separated by "|".
gnumeric_cells() { # CP932 CSV file
    ssconvert -I Gnumeric_stf:stf_csvtab --import-encoding=CP932 "$1" "$work/read.txt" \
        -T Gnumeric_stf:stf_assistant -O 'separator=| eol=unix charset=UTF-8 quoting-mode=never' \
        >/dev/null 2>&1
    cat "$work/read.txt"
}

printf '"品名","備考"\n"りんご","1行目\n2行目"\n"say ""hi""","〜—‖−¢£¬"\n"=1+2","x"\n' >"$work/source.csv"
ssconvert --import-encoding=UTF-8 "$work/source.csv" "$work/book.gnumeric" >/dev/null 2>&1
ssconvert -T Gnumeric_stf:stf_assistant -O 'charset=CP932 separator=, eol=windows quoting-mode=auto' \
    "$work/book.gnumeric" "$work/gnumeric.csv" >/dev/null 2>&1
[ -s "$work/gnumeric.csv" ] || { echo "FAIL Gnumeric wrote no CSV"; exit 1; }

# Gnumeric writes the formula's value; the look-alikes come as code page 932 writes them.
expected=$(printf '品名\t備考\nりんご\t1行目\n2行目\nsay "hi"\t～―∥－￠￡￢\n3\tx')
check "Gnumeric's CSV" "$expected" "$("$cli" show "$work/gnumeric.csv")"

"$cli" convert "$work/gnumeric.csv" "$work/ours.csv"
check "converted" 0 $?
expected=$(printf '品名|備考\nりんご|1行目\n2行目\nsay "hi"|～―∥－￠￡￢\n3|x')
check "read back by Gnumeric" "$expected" "$(gnumeric_cells "$work/ours.csv")"

[ $fail -eq 0 ] && echo "cli_gnumeric: all checks passed"
exit $fail
