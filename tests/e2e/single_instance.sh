#!/usr/bin/env bash
# The one-instance rule under a real X server: a second start shows its message and ends after
# Return while the first runs on, and a first instance killed outright does not block the next.
set -u
prog="$1"
source "$(dirname "$0")/lib.sh"
start_display
first="" second=""

# The second instance must wait for its message to be answered; nothing shows that it waits, so
# it is looked at again after a short time.
alive_after() { # pid seconds: true while the process still runs after that long
    sleep "$2"
    kill -0 "$1" 2>/dev/null
}

launch first
first=$launched
main_window=$(window_of "$first")
[ -n "$main_window" ] || failed "the first instance shows no window"
[ "$(xdotool getwindowname "$main_window" 2>/dev/null)" = "表計算Tarn!" ] || failed "main window caption"

launch second
second=$launched
box=$(window_of "$second")
if [ -z "$box" ]; then
    failed "the second instance shows no message"
else
    [ "$(xdotool getwindowname "$box")" = "表計算Tarn!" ] || failed "message caption"
    alive_after "$second" 0.3 || failed "the second instance ended before OK"
    # No window manager runs here: give the box the focus, then press Return as a user would.
    xdotool windowfocus --sync "$box"
    xdotool key Return
fi
wait_until 10 ended "$second" || failed "the second instance still runs after OK"
wait "$second"
rc=$?
[ $rc -eq 0 ] || failed "the second instance ended with status $rc"
second=""
kill -0 "$first" 2>/dev/null || failed "the first instance ended"

# A crashed first instance leaves its lock behind; the next start takes it over.
{ kill -9 "$first"; wait "$first"; } 2>/dev/null
first=""
launch third
first=$launched
w=$(window_of "$first")
[ -n "$w" ] && [ "$(xdotool getwindowname "$w")" = "表計算Tarn!" ] || failed "a start after a crash is blocked"

[ $fail -eq 0 ] && note "single_instance: all checks passed"
exit $fail
