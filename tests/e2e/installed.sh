#!/usr/bin/env bash
# The program as a user installs it: the Debian package is made from the build, unpacked into
# a folder of its own, checked for its desktop files and dependencies, and its programs run
# from there under a real X server: open a sheet file and a CSV, type, recalculate, save with
# Ctrl+S, quit, start again with the saved file; zeltarn-cli reads what was saved.
set -u
build="$1"
source "$(dirname "$0")/lib.sh"

mkdir -p "$work/pkg" "$work/root"
if ! (cd "$build" && cpack -G DEB -B "$work/pkg" >"$work/cpack.log" 2>&1); then
    failed "cpack"; cat "$work/cpack.log"; exit 1
fi
deb=$(ls "$work"/pkg/*.deb | head -n1)
dpkg-deb -x "$deb" "$work/root"
for f in usr/bin/zeltarn usr/bin/zeltarn-cli usr/share/zeltarn/ZelTarn.hlp usr/share/applications/zeltarn.desktop \
         usr/share/icons/hicolor/scalable/apps/zeltarn.svg usr/share/mime/packages/zeltarn.xml \
         usr/share/metainfo/org.zeltarn.ZelTarn.metainfo.xml; do
    [ -e "$work/root/$f" ] || failed "the package lacks $f"
done
depends=$(dpkg-deb -f "$deb" Depends)
for d in libqt6widgets6 libqt6printsupport6 fonts-ipafont-gothic qt6-translations-l10n; do
    case "$depends" in *"$d"*) ;; *) failed "the package does not depend on $d: $depends" ;; esac
done
grep -q '^Exec=zeltarn %f$' "$work/root/usr/share/applications/zeltarn.desktop" || failed "desktop entry Exec"
grep -q 'application/x-zeltarn-sheet' "$work/root/usr/share/applications/zeltarn.desktop" || failed "desktop entry MIME type"
grep -q '<glob pattern="\*.zel"/>' "$work/root/usr/share/mime/packages/zeltarn.xml" || failed "MIME glob"

prog="$work/root/usr/bin/zeltarn"
cli="$work/root/usr/bin/zeltarn-cli"
printf '"1","2"\r\n"=A1+B1",""\r\n"00.00"\r\n1200\r\n1500\r\n' >"$work/sheet.zel"
printf '"a","=1/0"\r\n' >"$work/list.csv"

start_display
cd "$work" # where the user starts the program; print files go there
if ! start_program "$work/sheet.zel"; then
    failed "the installed program shows no window"; exit 1
fi
# A2 reads B1; B1 changes, then 再計算 brings A2 up to date. Then save and quit.
keys ctrl+Home Right
typed "5"; keys Return Escape
keys ctrl+Home Right Right
typed "=a1*10+b1"; keys Return Escape
keys alt+e Return
expected=$(printf 'A1\t1\nB1\t5\nC1\t15\nA2\t6')
actual=$(dump)
[ "$actual" = "$expected" ] || failed "after typing: expected [$expected] got [$actual]"
keys ctrl+s
keys alt+f e
wait_until 10 ended "$program"
kill -0 "$program" 2>/dev/null && failed "the program did not quit after saving"
check=$("$cli" show "$work/sheet.zel")
[ "$check" = "$(printf '1\t5\t15\n6\t\t')" ] || failed "saved sheet: [$check]"
grep -q '"=A1\*10+B1"' "$work/sheet.zel" || failed "the formula was not saved as typed, in capitals"
grep -q '^1500' "$work/sheet.zel" || failed "the saved sheet lost its column width"

# The saved file opens again with what was saved; a CSV is saved as CSV.
if ! start_program "$work/sheet.zel"; then
    failed "no window on the second start"; exit 1
fi
actual=$(dump)
[ "$actual" = "$expected" ] || failed "reopened: expected [$expected] got [$actual]"
keys alt+f e
wait_until 10 ended "$program"

if ! start_program "$work/list.csv"; then
    failed "no window for the CSV"; exit 1
fi
keys ctrl+Home
typed "b"; keys Return Escape
keys ctrl+s
keys alt+f e
wait_until 10 ended "$program"
[ "$(cat "$work/list.csv")" = "$(printf '"b","=1/0"\r')" ] || failed "saved CSV: [$(cat -A "$work/list.csv")]"

# Save As through the file dialog, print the block to a PDF file through the printer dialog
# (Return takes its PDF file), copy it to the clipboard, and draw a chart of it.
if ! start_program "$work/sheet.zel"; then
    failed "no window on the last start"; exit 1
fi
keys ctrl+Home shift+Down shift+Right
keys alt+f Down Down Down Return
if dialog=$(await_window "名前を付けて保存"); then
    xdotool windowfocus --sync "$dialog"
    typed "$work/copy"
    return_until_gone "$dialog" || failed "the Save As dialog stays open"
else
    failed "no Save As dialog"
fi
# The program writes the file after its dialog has gone, while the test goes on.
wait_until 10 test -s "$work/copy.zel"
[ "$("$cli" show "$work/copy.zel")" = "$(printf '1\t5\t15\n6\t\t')" ] || failed "Save As wrote [$(cat "$work/copy.zel" 2>&1)]"
# Without a window manager the main window takes the keyboard back by hand after a dialog.
xdotool windowfocus --sync "$window"
keys alt+f Down Down Down Down Return
if dialog=$(await_window "印刷"); then
    xdotool windowfocus --sync "$dialog"
    keys Return
    wait_until 10 gone "$dialog" || failed "the printer dialog stays open"
else
    failed "no printer dialog"
fi
xdotool windowfocus --sync "$window"
# Written after the dialog has gone, and readable once whole.
one_page_pdf() { pdfinfo "$work/print.pdf" 2>/dev/null | grep -q '^Pages: *1$'; }
wait_until 10 one_page_pdf
one_page_pdf || failed "printing to a PDF file gave no one-page document"
keys alt+e Down Down Down Down Return
dump >/dev/null # answered once the copy has been made
clip=$(xclip -selection clipboard -o 2>/dev/null)
[ "$clip" = "$(printf '1\t5\n6\t')" ] || failed "copied to the clipboard: [$clip]"
keys alt+g Return
if chart_dialog=$(await_window "グラフの種類選択"); then
    xdotool windowfocus --sync "$chart_dialog"
    keys Return
fi
chart=$(await_window "グラフ")
[ -n "$chart" ] || failed "no chart window"
if [ -n "${ZELTARN_ARTIFACTS:-}" ]; then
    mkdir -p "$ZELTARN_ARTIFACTS"
    xwd -silent -id "$window" | xwdtopnm 2>/dev/null | pnmtopng >"$ZELTARN_ARTIFACTS/installed-main.png"
    [ -n "$chart" ] && xwd -silent -id "$chart" | xwdtopnm 2>/dev/null | pnmtopng >"$ZELTARN_ARTIFACTS/installed-chart.png"
fi
# A text from another program into D1:E1 (クリップボードから貼り付け is the fifth enabled entry
# of the Edit menu while the clipboard holds text and nothing was copied inside).
xdotool windowfocus --sync "$window"
printf '7\t=d1*2\n' | clip_from_xclip
keys ctrl+Home Right Right Right shift+Right
keys alt+e Down Down Down Down Return
actual=$(dump | grep -E '^[DE]1')
[ "$actual" = "$(printf 'D1\t7\nE1\t14')" ] || failed "pasted from the clipboard: [$actual]"
kill -0 "$program" 2>/dev/null || failed "the program ended"

[ $fail -eq 0 ] && note "installed: all checks passed"
exit $fail
