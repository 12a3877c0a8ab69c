#!/usr/bin/env bash
# Printing through a real print queue: a CUPS server of the test's own, whose queues write their
# jobs into the test's folder, one of them with a printer margin of 18 points. The real program
# under a real X server prints a selected block through the printer dialog, previews it, prints
# a chart on the default printer and prints the sheet again; the pages are measured.
# Exit 77 (skipped) only where cupsd cannot start at all.
set -u
prog="$1"
source "$(dirname "$0")/lib.sh"
for tool in cupsd lpadmin lpstat pdftoppm pdfinfo python3; do
    command -v "$tool" >/dev/null || { failed "$tool is not installed (scripts/setup-deps.sh installs it)"; exit 1; }
done

# The server: its configuration, spool, logs and socket all in the test's folder.
cups="$work/cups"
out="$work/out"
mkdir -p "$cups/conf" "$cups/spool" "$cups/tmp" "$cups/cache" "$cups/state" "$cups/log" "$out"
# The server runs the queue's filter as its own user, who must reach it and write the jobs.
chmod 711 "$work"
chmod 755 "$cups"
chmod 1777 "$out" "$cups/tmp"
export CUPS_SERVER="$cups/cups.sock"
cat >"$cups/conf/cupsd.conf" <<CONF
Listen $CUPS_SERVER
LogLevel info
Browsing No
WebInterface No
DefaultAuthType None
<Location />
  Order allow,deny
  Allow all
</Location>
CONF
cat >"$cups/conf/cups-files.conf" <<CONF
FileDevice Yes
ServerRoot $cups/conf
RequestRoot $cups/spool
TempDir $cups/tmp
CacheDir $cups/cache
StateDir $cups/state
ErrorLog $cups/log/error_log
AccessLog $cups/log/access_log
PageLog $cups/log/page_log
Printcap $cups/printcap
CONF
# The queues take PDF as it comes: their only filter hands the job's file on unchanged.
cat >"$cups/pass" <<'FILTER'
#!/bin/sh
if [ -n "$6" ]; then exec cat "$6"; else exec cat; fi
FILTER
chmod 755 "$cups/pass"
cat >"$cups/margin.ppd" <<PPD
*PPD-Adobe: "4.3"
*FormatVersion: "4.3"
*FileVersion: "1.0"
*LanguageVersion: English
*LanguageEncoding: ISOLatin1
*PCFileName: "MARGIN.PPD"
*Manufacturer: "ZelTarn tests"
*Product: "(Margin)"
*ModelName: "Margin"
*ShortNickName: "Margin"
*NickName: "Margin"
*PSVersion: "(3010.000) 0"
*ColorDevice: True
*cupsFilter: "application/pdf 0 $cups/pass"
*OpenUI *PageSize/Page Size: PickOne
*DefaultPageSize: A4
*PageSize A4/A4: "<</PageSize[595 842]>>setpagedevice"
*CloseUI: *PageSize
*OpenUI *PageRegion: PickOne
*DefaultPageRegion: A4
*PageRegion A4/A4: "<</PageSize[595 842]>>setpagedevice"
*CloseUI: *PageRegion
*DefaultImageableArea: A4
*ImageableArea A4/A4: "18 18 577 824"
*DefaultPaperDimension: A4
*PaperDimension A4/A4: "595 842"
PPD
cupsd -f -c "$cups/conf/cupsd.conf" -s "$cups/conf/cups-files.conf" >"$cups/log/cupsd.out" 2>&1 &
pids+=($!)
for _ in $(seq 50); do lpstat -r 2>/dev/null | grep -q "is running" && break; sleep 0.1; done
if ! lpstat -r 2>/dev/null | grep -q "is running"; then
    note "SKIP: cupsd cannot start here"; cat "$cups/log/cupsd.out"
    exit 77
fi
for queue in sheet chart; do
    lpadmin -p "zeltarn-$queue" -E -v "file://$out/$queue.pdf" -P "$cups/margin.ppd" 2>/dev/null ||
        { failed "cannot add the queue zeltarn-$queue"; exit 1; }
done
lpadmin -d zeltarn-sheet

# Waits until the server has completed that many jobs in all and has none left to do; false
# after 30 s.
jobs_done() { # jobs completed since the server started
    wait_until 30 jobs_completed "$1"
}
jobs_completed() {
    [ -z "$(lpstat -W not-completed -o 2>/dev/null)" ] && [ "$(lpstat -W completed -o 2>/dev/null | wc -l)" -ge "$1" ]
}
# Where the ink of a PDF's first page (or of a PNG) lies, at dpi: "left top width height".
ink() { # file, dpi
    local picture="$1"
    if [ "${1%.pdf}" != "$1" ]; then
        pdftoppm -r "$2" -singlefile -png "$1" "$work/ink" && picture="$work/ink.png"
    fi
    python3 - "$picture" <<'PY'
import sys, zlib, struct
data = open(sys.argv[1], "rb").read()
w, h, depth, kind = struct.unpack(">IIBB", data[16:26])
chunks, pos = b"", 8
while pos < len(data):
    n = struct.unpack(">I", data[pos:pos + 4])[0]
    if data[pos + 4:pos + 8] == b"IDAT":
        chunks += data[pos + 8:pos + 8 + n]
    pos += 12 + n
raw = zlib.decompress(chunks)
bpp = {0: 1, 2: 3, 4: 2, 6: 4}[kind] * depth // 8
stride = w * bpp
rows, prev = [], bytearray(stride)
for y in range(h):
    f, line = raw[y * (stride + 1)], bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
    for x in range(stride):
        a = line[x - bpp] if x >= bpp else 0
        b, c = prev[x], (prev[x - bpp] if x >= bpp else 0)
        if f == 1: line[x] = (line[x] + a) & 255
        elif f == 2: line[x] = (line[x] + b) & 255
        elif f == 3: line[x] = (line[x] + (a + b) // 2) & 255
        elif f == 4:
            p = a + b - c; pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
            line[x] = (line[x] + (a if pa <= pb and pa <= pc else b if pb <= pc else c)) & 255
    rows.append(line); prev = line
xs, ys = [], []
for y, line in enumerate(rows):
    for x in range(w):
        if min(line[x * bpp:x * bpp + min(bpp, 3)]) < 250:
            xs.append(x); ys.append(y)
print(min(xs), min(ys), max(xs) - min(xs) + 1, max(ys) - min(ys) + 1) if xs else print("none")
PY
}
near() { [ "${1#-}" -le "$2" ] 2>/dev/null || [ "$((-$1))" -le "$2" ] 2>/dev/null; }
# Compares "left top width height" with what is expected, each within 2 px.
expect_box() { # what, actual, expected
    local a e i=0
    read -r -a a <<<"$2"
    read -r -a e <<<"$3"
    for i in 0 1 2 3; do
        local d=$(( ${a[$i]:-99999} - ${e[$i]} ))
        [ "${d#-}" -le 2 ] || { failed "$1: expected [$3] got [$2]"; return; }
    done
}

# The main window takes the keyboard again after a dialog or another window had it.
refocus() { xdotool windowfocus --sync "$window"; }
# A window of the program, by its exact caption, takes the keyboard once it shows (there is no
# window manager to give it); its id is left in $focused; false when none shows.
focus_window() { # caption
    focused=$(await_window "$1") || return 1
    xdotool windowfocus --sync "$focused"
}
# The printer dialog, once it shows, answered with Return: it offers the default queue.
print_dialog() {
    focus_window "印刷" || { failed "no printer dialog"; return 1; }
    keys Return
    wait_until 10 gone "$focused" || failed "the printer dialog stays open"
}

printf '"1","2","3"\r\n"4","5","6"\r\n"7","8","9"\r\n' >"$work/block.csv"
begin "$work/block.csv"

# A1:B2 through the printer dialog, which offers the default queue.
keys ctrl+Home shift+Right shift+Down
keys alt+f
keys p
print_dialog
jobs_done 1 || failed "the sheet's print job did not complete"
[ -s "$out/sheet.pdf" ] || { failed "nothing reached the queue"; exit 1; }
# At 144 dpi: the queue's 18-point margin (360 twips) and the block's 100 twips; headings of
# 25 and 23 twips, two columns of 1200 and two rows of 360.
px() { python3 -c "print(round($1 * 144 / 1440))"; }
expect_box "the printed block" "$(ink "$out/sheet.pdf" 144)" \
    "$(px 460) $(px 460) $(px $((25 + 2400))) $(px $((23 + 720)))"
title=$(pdfinfo "$out/sheet.pdf" | sed -n 's/^Title: *//p')
[ "$title" = "$work/block.csv" ] || failed "the job is named [$title], not after the sheet"
cp "$out/sheet.pdf" "$work/first-sheet.pdf"

# The preview shows the page as it prints, at half size: compared with the page at 48 dpi.
refocus
keys ctrl+Home shift+Right shift+Down
keys alt+f
keys Down Down Down Down Down
keys Return
focus_window "プレビュー" || failed "no preview window"
dump >/dev/null
keys Escape
wait_until 10 gone "$focused" || failed "the preview stays open"
[ -s "$ZELTARN_TEST_DUMP.preview.png" ] || failed "no preview picture"
expect_box "the preview" "$(ink "$ZELTARN_TEST_DUMP.preview.png" 0)" "$(ink "$out/sheet.pdf" 48)"

# A chart of A1:C3 printed on the default printer, now the other queue: the sheet's page stays.
lpadmin -d zeltarn-chart
refocus
keys ctrl+Home shift+Right shift+Right shift+Down shift+Down
keys alt+g
keys s
focus_window "グラフの種類選択" || failed "no chart dialog"
keys Return
focus_window "グラフ" || failed "no chart window"
refocus
keys alt+g
keys p
jobs_done 2 || failed "the chart's print job did not complete"
[ -s "$out/chart.pdf" ] || failed "the chart did not reach the default printer"
[ "$(ink "$out/chart.pdf" 36)" != none ] || failed "the chart's page is blank"
title=$(pdfinfo "$out/chart.pdf" 2>/dev/null | sed -n 's/^Title: *//p')
[ "$title" = "グラフ" ] || failed "the chart's job is named [$title]"
cmp -s "$out/sheet.pdf" "$work/first-sheet.pdf" || failed "the chart print changed the sheet's page"

# The sheet prints again, on the queue chosen for it before.
rm -f "$out/sheet.pdf"
refocus
keys ctrl+Home shift+Right shift+Down
keys alt+f
keys p
print_dialog
jobs_done 3 || failed "the second sheet print did not complete"
expect_box "the block printed again" "$(ink "$out/sheet.pdf" 144)" \
    "$(px 460) $(px 460) $(px $((25 + 2400))) $(px $((23 + 720)))"

kill -0 "$program" 2>/dev/null || failed "the program ended"
[ $fail -eq 0 ] && note "print_queue: all checks passed"
exit $fail
