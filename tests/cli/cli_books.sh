#!/usr/bin/env bash
# Books (.xlsx) through zeltarn-cli, against the real readers and writers of other spreadsheets:
# a book made by hand as they lay one out (shared strings with readings, inline strings, truth
# values, errors, dates in the 1904 system, shared formulas, rows and cells without their
# place, a zoom, widths, a second worksheet, a cell beyond Z); damaged books and a zip bomb;
# a book we write read by LibreOffice and Gnumeric, values and formulas; a book LibreOffice
# writes read by us with the values LibreOffice shows. Exit 77 only where LibreOffice is absent.
set -u
cli="$1"
here="$(cd "$(dirname "$0")" && pwd)"
if ! command -v soffice >/dev/null || ! command -v ssconvert >/dev/null; then
    echo "soffice or ssconvert is missing: scripts/setup-deps.sh installs them"
    exit 77
fi
fail=0
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export HOME="$work"
check() { # name expected actual
    if [ "$2" != "$3" ]; then
        printf 'FAIL %s\n--- expected\n%s\n--- actual\n%s\n' "$1" "$2" "$3"
        fail=1
    fi
}
# LibreOffice's CSV of a book: what the cells show (as_shown=true) or their formulas.
lo_csv() { # book, true for formulas
    local options="44,34,76,1,,0,false,true,true,${2:-false},false,-1"
    rm -rf "$work/lo-out"
    soffice -env:UserInstallation="file://$work/lo-profile" --headless \
        --convert-to "csv:Text - txt - csv (StarCalc):$options" --outdir "$work/lo-out" "$1" >/dev/null 2>&1
    cat "$work/lo-out/"*.csv | tr -d '\r'
}

# A book laid out by hand.
python3 "$here/make_book.py" parts "$work/parts.xlsx"
"$cli" show "$work/parts.xlsx" >"$work/shown" 2>"$work/err"
check "hand-made book: left out" 1 $?
expected=$(printf '漢字\ttwo\nlines\t0.1\t0.25\tTRUE\tinline\t\n#DIV/0!\t2024/03/15\t1904/01/01\t0.5\t12345\t\t\n0.2\t0.5\t1.1\t漢字!\t43905\tErr\t43904.5')
check "hand-made book" "$expected" "$(cat "$work/shown")"
grep -q "4 formulas this program does not compute came in as their values" "$work/err" || { echo "FAIL no count of values"; fail=1; }
grep -q '1 texts beginning with "=" were entered as formulas' "$work/err" || { echo "FAIL no count of = texts"; fail=1; }
"$cli" convert "$work/parts.xlsx" "$work/parts.zel" 2>/dev/null
check "layout: widths of A, B, C and the zoom" "2175 0 0 1.25" "$(sed -n '/"00.00"/,$p' "$work/parts.zel" | tr -d '\r' | sed -n '2,4p;28p' | tr '\n' ' ' | sed 's/ $//')"

# A sheet at 125 % is written with its zoom and the cells' font at 100 %, as its widths are.
"$cli" convert "$work/parts.zel" "$work/ours.xlsx"
check "our book's zoom and cell font" "125 12" "$(python3 - "$work/ours.xlsx" <<'PY'
import re, sys, zipfile
book = zipfile.ZipFile(sys.argv[1])
zoom = re.search(r'zoomScale="(\d+)"', book.read("xl/worksheets/sheet1.xml").decode()).group(1)
fonts = re.findall(r'<sz val="(\d+)"/>', book.read("xl/styles.xml").decode())
print(zoom, fonts[-1])
PY
)"

# Damaged books and a zip bomb are refused at once.
head -c 2000 "$work/ours.xlsx" >"$work/cut.xlsx"
"$cli" show "$work/cut.xlsx" >/dev/null 2>&1
check "damaged book" 2 $?
python3 "$here/make_book.py" bomb "$work/bomb.xlsx"
timeout 20 "$cli" show "$work/bomb.xlsx" >/dev/null 2>&1
check "zip bomb" 2 $?

# A book we write, read by LibreOffice and Gnumeric: the values we computed and our formulas.
printf '"12","=A1*2","text, comma","007"\r\n"=SUM(A1:B1)","=A1/0","=SQRT(16)+PI()","二行\n目"\r\n' >"$work/sheet.csv"
"$cli" convert "$work/sheet.csv" "$work/sheet.xlsx"
check "written book" 0 $?
values=$(printf '12,24,"text, comma",007\n36,Err0割り,7.14159,"二行\n目"')
check "LibreOffice reads our values" "$values" "$(lo_csv "$work/sheet.xlsx")"
formulas=$(printf '12,=A1*2,"text, comma",007\n=SUM(A1:B1),=A1/0,=SQRT(16)+PI(),"二行\n目"')
check "LibreOffice reads our formulas" "$formulas" "$(lo_csv "$work/sheet.xlsx" true)"
ssconvert -T Gnumeric_stf:stf_assistant -O 'separator=, eol=unix' "$work/sheet.xlsx" "$work/gnumeric.csv" >/dev/null 2>&1
check "Gnumeric reads our values" "$values" "$(cat "$work/gnumeric.csv")"
ssconvert -T Gnumeric_XmlIO:sax:0 "$work/sheet.xlsx" "$work/gnumeric.xml" >/dev/null 2>&1
check "Gnumeric reads our formulas" "=A1*2 =SUM(A1:B1) =A1/0 =SQRT(16)+PI()" \
    "$(grep -o '>=[^<]*' "$work/gnumeric.xml" | cut -c2- | tr 'a-z' 'A-Z' | tr '\n' ' ' | sed 's/ $//')"

# A book LibreOffice writes from texts, numbers, dates and formulas, known and unknown to us:
# the values LibreOffice shows (its dates written with "-", ours with "/").
printf 'name,count,date,calc,unknown\nりんご,3,2024-03-15,=B2*2,=ROUND(B2/7;3)\nみかん,4.5,2001-12-31,=SUM(B2:B3),=B2&"x"\n' \
    >"$work/theirs.csv"
soffice -env:UserInstallation="file://$work/lo-profile" --headless --infilter='CSV:44,34,76,1,,0,false,true,true' \
    --convert-to xlsx --outdir "$work/theirs" "$work/theirs.csv" >/dev/null 2>&1
shown=$(lo_csv "$work/theirs/theirs.xlsx" | tr ',-' '\t/')
check "LibreOffice's book" "$shown" "$("$cli" show "$work/theirs/theirs.xlsx" 2>"$work/err")"
grep -q "2 formulas this program does not compute" "$work/err" || { echo "FAIL LibreOffice's book: count"; fail=1; }

[ $fail -eq 0 ] && echo "cli_books: all checks passed"
exit $fail
