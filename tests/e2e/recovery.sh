#!/usr/bin/env bash
# Work typed since the last save survives a crash: the real program under a real X server is
# killed a few seconds after typing into a loaded sheet and a new one, started again, and asked
# to restore; both sheets come back, and the loaded one saves to its file. A start with nothing
# to recover asks nothing.
set -u
prog="$1"
source "$(dirname "$0")/lib.sh"

printf '"1","2"\r\n' >"$work/kept.csv"
begin "$work/kept.csv"
keys ctrl+Home Down
typed "typed"; keys Return Escape
keys ctrl+n
typed "fresh"; keys Return Escape
sleep 3 # the recovery copies are written about two seconds after the last change
kill -9 "$program"
wait "$program" 2>/dev/null

# The restore question, a message box of its own over the main window.
ask_window() {
    local id w
    for _ in $(seq 100); do
        for id in $(xdotool search --onlyvisible --pid "$program" '' 2>/dev/null); do
            w=$(xdotool getwindowgeometry "$id" 2>/dev/null | awk '/Geometry/{split($2,g,"x"); print g[1]}')
            if [ "$(xdotool getwindowname "$id" 2>/dev/null)" = "表計算Tarn!" ] && [ "${w:-9999}" -lt 600 ]; then
                printf '%s' "$id"
                return 0
            fi
        done
        sleep 0.1
    done
    return 1
}
launch restarted
program=$launched
box=$(ask_window) || { failed "no restore question after the crash"; exit 1; }
xdotool windowfocus --sync "$box"; sleep 0.3
keys Return # はい, the default answer
window=$(window_of "$program")
xdotool windowfocus --sync "$window"; sleep 0.5
expect_cells "the new sheet restored" A1=fresh
keys ctrl+Tab
expect_cells "the loaded sheet restored" A1=1 B1=2 A2=typed
keys ctrl+s
sleep 0.5
grep -q '"typed"' "$work/kept.csv" || failed "Save did not write the restored sheet to its file: $(cat "$work/kept.csv")"

# Closing normally (answering No for the new sheet) leaves nothing to recover: the next start
# asks nothing and shows its main window alone.
xdotool key --delay 30 alt+f e
sleep 0.5
for id in $(xdotool search --onlyvisible --pid "$program" '' 2>/dev/null); do
    [ "$(xdotool getwindowname "$id")" = "保存の確認" ] && { xdotool windowfocus --sync "$id"; keys n; }
done
for _ in $(seq 50); do kill -0 "$program" 2>/dev/null || break; sleep 0.1; done
kill -0 "$program" 2>/dev/null && failed "the program did not end"
launch again
program=$launched
sleep 2
ask_window >/dev/null && failed "a start with nothing to recover asked to restore"

[ $fail -eq 0 ] && note "recovery: all checks passed"
exit $fail
