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
# Each changed sheet's recovery copy is written about two seconds after its last change, under a
# name ending in .zelrec once complete.
copy_holds() { grep -rqs --include='*.zelrec' -e "\"$1\"" "$HOME/.local/share"; }
both_copied() { copy_holds typed && copy_holds fresh; }
wait_until 15 both_copied || failed "no recovery copies of both sheets were written"
kill -9 "$program"
wait "$program" 2>/dev/null

# The restore question, a message box of its own over the main window, shown now.
asking() {
    local id w
    for id in $(xdotool search --onlyvisible --pid "$program" 2>/dev/null); do
        w=$(xdotool getwindowgeometry "$id" 2>/dev/null | awk '/Geometry/{split($2,g,"x"); print g[1]}')
        if [ "$(xdotool getwindowname "$id" 2>/dev/null)" = "表計算Tarn!" ] && [ "${w:-9999}" -lt 600 ]; then
            printf '%s' "$id"
            return 0
        fi
    done
    return 1
}
# The restore question once it shows; false after 10 s.
ask_window() {
    for _ in $(seq 200); do asking && return 0; sleep 0.05; done
    return 1
}
launch restarted
program=$launched
box=$(ask_window) || { failed "no restore question after the crash"; exit 1; }
xdotool windowfocus --sync "$box"
keys Return # はい, the default answer
wait_until 10 gone "$box" || failed "the restore question stays open"
window=$(window_of "$program")
xdotool windowfocus --sync "$window"
expect_cells "the new sheet restored" A1=fresh
keys ctrl+Tab
expect_cells "the loaded sheet restored" A1=1 B1=2 A2=typed
keys ctrl+s
dump >/dev/null # answered once Ctrl+S has been handled and its file written
grep -q '"typed"' "$work/kept.csv" || failed "Save did not write the restored sheet to its file: $(cat "$work/kept.csv")"

# Closing normally (answering No for the new sheet) leaves nothing to recover: the next start
# asks nothing and shows its main window alone.
keys alt+f e
if question=$(await_window "保存の確認"); then
    xdotool windowfocus --sync "$question"
    keys n
else
    failed "no question to save the new sheet"
fi
wait_until 10 ended "$program"
kill -0 "$program" 2>/dev/null && failed "the program did not end"
launch again
program=$launched
# The question would come at the start, before the program takes any key: once a sheet made by
# keys has been dumped, a question not shown by then never comes.
window=$(window_of "$program")
xdotool windowfocus --sync "$window"
keys ctrl+n
dump >/dev/null
asking >/dev/null && failed "a start with nothing to recover asked to restore"

[ $fail -eq 0 ] && note "recovery: all checks passed"
exit $fail
