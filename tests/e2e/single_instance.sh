#!/usr/bin/env bash
# The one-instance rule under a real X server: a second start shows its message and ends after
# Return while the first runs on, and a first instance killed outright does not block the next.
set -u
prog="$1"
fail=0
note() { printf '%s\n' "$*"; }
failed() { note "FAIL $*"; fail=1; }

work=$(mktemp -d)
chmod 700 "$work"
export XDG_RUNTIME_DIR="$work/run" XDG_CONFIG_HOME="$work/config" HOME="$work"
mkdir -m 700 -p "$XDG_RUNTIME_DIR"
unset WAYLAND_DISPLAY QT_QPA_PLATFORM

# A display number nobody uses; Xvfb tells which one it took through -displayfd.
exec 3>"$work/display"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset >"$work/xvfb.log" 2>&1 &
xvfb=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.05; done
export DISPLAY=":$(cat "$work/display")"
first="" second=""
cleanup() {
    for p in $second $first $xvfb; do kill "$p" 2>/dev/null; done
    wait 2>/dev/null
    [ $fail -eq 0 ] && rm -rf "$work" || echo "logs kept in $work"
}
trap cleanup EXIT

# Waits until a visible window of the process appears; prints its id.
window_of() { # pid
    local id=""
    for _ in $(seq 200); do
        id=$(xdotool search --onlyvisible --pid "$1" 2>/dev/null | head -n1)
        [ -n "$id" ] && break
        kill -0 "$1" 2>/dev/null || break
        sleep 0.05
    done
    printf '%s' "$id"
}
alive_after() { # pid seconds: true while the process still runs after that long
    sleep "$2"
    kill -0 "$1" 2>/dev/null
}

"$prog" >"$work/first.log" 2>&1 &
first=$!
main_window=$(window_of "$first")
[ -n "$main_window" ] || failed "the first instance shows no window"
[ "$(xdotool getwindowname "$main_window" 2>/dev/null)" = "表計算Tarn!" ] || failed "main window caption"

"$prog" >"$work/second.log" 2>&1 &
second=$!
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
ended=0
for _ in $(seq 100); do kill -0 "$second" 2>/dev/null || { ended=1; break; }; sleep 0.05; done
[ $ended -eq 1 ] || failed "the second instance still runs after OK"
wait "$second"
rc=$?
[ $rc -eq 0 ] || failed "the second instance ended with status $rc"
second=""
kill -0 "$first" 2>/dev/null || failed "the first instance ended"

# A crashed first instance leaves its lock behind; the next start takes it over.
{ kill -9 "$first"; wait "$first"; } 2>/dev/null
first=""
"$prog" >"$work/third.log" 2>&1 &
first=$!
w=$(window_of "$first")
[ -n "$w" ] && [ "$(xdotool getwindowname "$w")" = "表計算Tarn!" ] || failed "a start after a crash is blocked"

[ $fail -eq 0 ] && note "single_instance: all checks passed"
exit $fail
