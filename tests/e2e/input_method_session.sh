#!/usr/bin/env bash
# The part of input_method.sh that runs as the user of the input method, in a D-Bus session of
# its own: a private X server, fcitx5 with mozc on a fresh profile, the programs typed into.
set -u
prog="$1"
lineedit="$2"
source "$(dirname "$0")/lib.sh"

# mozc keeps its learning under HOME, which lib.sh made fresh, and will not start without a
# .config there; fcitx5 takes the profile below from the private config folder.
mkdir -p "$HOME/.config" "$XDG_CONFIG_HOME/fcitx5"
cat >"$XDG_CONFIG_HOME/fcitx5/profile" <<'PROFILE'
[Groups/0]
Name=Default
Default Layout=us
DefaultIM=mozc

[Groups/0/Items/0]
Name=keyboard-us
Layout=

[Groups/0/Items/1]
Name=mozc
Layout=

[GroupOrder]
0=Default
PROFILE
export QT_IM_MODULE=fcitx XMODIFIERS=@im=fcitx GTK_IM_MODULE=fcitx

start_display
fcitx5 >"$work/fcitx5.log" 2>&1 &
pids+=($!)
# Asked without starting one: fcitx5-remote would have D-Bus start an fcitx5 of its own.
fcitx5_up() {
    dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
        org.freedesktop.DBus.NameHasOwner string:org.fcitx.Fcitx5 2>/dev/null | grep -q true
}
for _ in $(seq 100); do fcitx5_up && break; sleep 0.1; done
fcitx5_up || { failed "fcitx5 does not start"; exit 1; }
# What fcitx5 tells the input contexts of the programs, read off the session bus: a composition
# shows there when it is sent to the program. dbus-monitor says NameLost once it listens.
dbus-monitor --session "type='signal',interface='org.fcitx.Fcitx.InputContext1'" >"$work/fcitx-signals.txt" 2>&1 &
pids+=($!)
wait_until 10 grep -q 'member=NameLost' "$work/fcitx-signals.txt" || failed "dbus-monitor does not listen"

# Switches the input method on for the focused window; true once fcitx5 reports it active.
ime_on() {
    for _ in $(seq 50); do
        [ "$(fcitx5-remote 2>/dev/null)" = 2 ] && return 0
        fcitx5-remote -o 2>/dev/null
        sleep 0.2
    done
    return 1
}
# The keys reach the sheet through the input method, another program: the dump is asked for
# again, for a short while, until it shows the expected cells (left in $cells either way).
cells_become() { # expected cells as B1=text, one a line
    for _ in $(seq 10); do
        cells=$(dump | tr '\t' '=')
        [ "$cells" = "$1" ] && return 0
        sleep 0.1
    done
    return 1
}
# Phrase by phrase, as a Japanese user types: each space converts, the next letter commits.
japanese_keys() {
    typed "nihon"; keys space
    typed "gogaku"; keys space
    keys Return Return
}

# The reference: a plain line edit in the same session.
"$lineedit" "$work/reference.txt" >"$work/lineedit.log" 2>&1 &
pids+=($!)
ref_window=$(window_of $!)
[ -n "$ref_window" ] || { failed "the line edit shows no window"; exit 1; }
xdotool windowfocus --sync "$ref_window"
ime_on || failed "mozc does not switch on for the line edit"
japanese_keys
# The line edit writes its line when the last Return comes back from the input method.
wait_until 10 test -s "$work/reference.txt"
reference=$(head -n1 "$work/reference.txt" 2>/dev/null)
[ -n "$reference" ] || failed "the line edit got nothing from mozc"
case "$reference" in *[a-z]*) failed "mozc did not convert in the line edit: [$reference]" ;; esac
xdotool windowclose "$ref_window" 2>/dev/null || kill "${pids[-1]}"

if ! start_program; then
    failed "the program shows no window"
    exit 1
fi
keys ctrl+n
dump >/dev/null # the new sheet has the keyboard
ime_on || failed "mozc does not switch on for the sheet"
japanese_keys
keys Escape
cells_become "A1=$reference"
expect_cells "typed on A1 as in the line edit" "A1=$reference"

# A composition on B1, then a click on B3: what was composed lands on B1.
keys ctrl+Home Right
dump >/dev/null # B1's place on the screen
typed "uriage"
# The click must come after the whole composition has reached the program.
wait_until 10 grep -qF 'string "うりあげ"' "$work/fcitx-signals.txt"
xdotool mousemove $((current_x + current_w / 2)) $((current_y + current_h * 5 / 2)) click 1
for _ in $(seq 10); do # as in cells_become
    cells=$(dump | tr '\t' '=')
    case "$cells" in *"B1=うりあげ"*) break ;; esac
    sleep 0.1
done
case "$cells" in
*"B1=うりあげ"*) ;;
*) failed "the composition interrupted by a click must land on B1: got [$cells]" ;;
esac

kill -0 "$program" 2>/dev/null || failed "the program ended"
[ $fail -eq 0 ] && note "input_method: all checks passed (reference [$reference])"
exit $fail
