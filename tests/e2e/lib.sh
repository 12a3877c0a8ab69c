# Shared by the end-to-end tests: a private X server, private settings and runtime folders,
# and helpers to find the program's windows. Source it, then call start_display.
fail=0
note() { printf '%s\n' "$*"; }
failed() { note "FAIL $*"; fail=1; }

work=$(mktemp -d)
chmod 700 "$work"
export XDG_RUNTIME_DIR="$work/run" XDG_CONFIG_HOME="$work/config" HOME="$work"
mkdir -m 700 -p "$XDG_RUNTIME_DIR"
unset WAYLAND_DISPLAY QT_QPA_PLATFORM
pids=()

# Starts Xvfb on a display number nobody uses (it reports which through -displayfd); -noreset
# keeps it up while no client is connected, and 96 dpi makes twips come out as known pixels.
start_display() {
    exec 3>"$work/display"
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -dpi 96 -nolisten tcp -noreset >"$work/xvfb.log" 2>&1 &
    pids+=($!)
    for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.05; done
    export DISPLAY=":$(cat "$work/display")"
}

# The accessibility bus of the D-Bus session the test runs in, started and answering.
start_accessibility_bus() {
    /usr/libexec/at-spi-bus-launcher --launch-immediately >"$work/at-spi.log" 2>&1 &
    pids+=($!)
    for _ in $(seq 100); do
        dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
            org.freedesktop.DBus.NameHasOwner string:org.a11y.Bus 2>/dev/null | grep -q true && break
        sleep 0.05
    done
}

finish() {
    for p in "${pids[@]}"; do kill "$p" 2>/dev/null; done
    wait 2>/dev/null
    if [ $fail -eq 0 ]; then rm -rf "$work"; else note "logs kept in $work"; fi
}
trap finish EXIT

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

# Starts the program with its output in LOG.log; its process id is left in $launched.
launch() { # log name, program arguments...
    local log="$1"
    shift
    "$prog" "$@" >"$work/$log.log" 2>&1 &
    launched=$!
    pids+=("$launched")
}

# Keys and text into the focused window. No pause after them: the program takes its events in
# the order they were sent, so whatever asks it something next (a dump, more keys) comes after
# them. What the program does outside that order (a window shown, a file written, the clipboard
# of another program) is waited for where it is looked at.
keys() { xdotool key --delay 30 "$@"; }
typed() { xdotool type --delay 30 "$1"; }

# Runs the command until it succeeds; false when it has not after that many seconds.
wait_until() { # seconds, command...
    local tries=$(($1 * 20))
    shift
    until "$@"; do
        tries=$((tries - 1))
        [ $tries -gt 0 ] || return 1
        sleep 0.05
    done
}

# Whether the process has ended.
ended() { ! kill -0 "$1" 2>/dev/null; }

# Whether a window of the program ($program) is shown.
shown() { # window id
    xdotool search --onlyvisible --pid "$program" 2>/dev/null | grep -qx "$1"
}
gone() { ! shown "$1"; }

# A shown window of the program other than its main window ($window), by its exact title; prints
# its id, false when there is none now.
titled_window() { # title
    local id
    for id in $(xdotool search --onlyvisible --pid "$program" 2>/dev/null); do
        if [ "$id" != "${window:-}" ] && [ "$(xdotool getwindowname "$id" 2>/dev/null)" = "$1" ]; then
            printf '%s' "$id"
            return 0
        fi
    done
    return 1
}
# Presses Return in the window, which has the keyboard, until it has gone (a file dialog's own
# list of completions may take a Return first); false when it stays.
return_until_gone() { # window id
    for _ in $(seq 5); do
        gone "$1" && return 0
        keys Return
        wait_until 3 gone "$1"
    done
    gone "$1"
}
# As titled_window, waiting up to 10 s for the window to show.
await_window() { # title
    local id
    for _ in $(seq 200); do
        id=$(titled_window "$1") && { printf '%s' "$id"; return 0; }
        sleep 0.05
    done
    return 1
}

# The clipboard as another program reads it (text, or the type asked for with -t).
clip() { xclip -selection clipboard -o "$@" 2>/dev/null; }
# The text on standard input put on the clipboard by xclip, which takes the clipboard over from
# a process of its own: waits until xclip answers with that text, so that the program has been
# told before any key that follows.
clip_from_xclip() {
    cat >"$work/to-clip"
    xclip -selection clipboard -i "$work/to-clip" 2>/dev/null
    wait_until 10 clip_holds "$work/to-clip" || failed "xclip did not take the clipboard"
}
clip_holds() { clip | cmp -s - "$1"; }

# What the active sheet's cells show, through the program's test dump (ZELTARN_TEST_DUMP); the
# current cell's screen rectangle is left in $current_x $current_y $current_w $current_h, its
# name (B3) in $current_cell, the number of open sheets in $open_sheets and the address label,
# blanks trimmed at both ends (B 3), in $address_label.
# The dump is asked for after the keys before it and so shows what they did; it is complete once
# its last line, the @ line, has been written whole.
dump_written() { grep -q '^@' "$ZELTARN_TEST_DUMP" 2>/dev/null && [ -z "$(tail -c 1 "$ZELTARN_TEST_DUMP")" ]; }
dump() {
    rm -f "$ZELTARN_TEST_DUMP"
    keys ctrl+shift+F12
    wait_until 10 dump_written
    read -r _ current_x current_y current_w current_h current_cell open_sheets address_label \
        < <(grep '^@' "$ZELTARN_TEST_DUMP" 2>/dev/null)
    grep -v '^@' "$ZELTARN_TEST_DUMP" 2>/dev/null
}

# Starts the program (arguments passed on) and gives its main window the keyboard; false when
# no window appears.
start_program() {
    export ZELTARN_TEST_DUMP="$work/cells.txt"
    launch program "$@"
    program=$launched
    window=$(window_of "$program")
    [ -n "$window" ] || return 1
    xdotool windowfocus --sync "$window"
}

# A private display and the program on it (arguments passed on); the test ends at once, failed,
# when no window appears.
begin() {
    start_display
    if ! start_program "$@"; then
        failed "the program shows no window"
        exit 1
    fi
}

# Passes when the active sheet shows exactly the given cells, each written B3=text, and no
# other cell shows anything.
expect_cells() { # what, cells...
    local what="$1"
    shift
    local expected actual
    expected=$(printf '%s\n' "$@")
    actual=$(dump | tr '\t' '=')
    [ "$actual" = "$expected" ] || failed "$what: expected [$expected] got [$actual]"
}
