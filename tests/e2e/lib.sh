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

# Keys and text into the focused window, with time for the program to follow.
keys() { xdotool key --delay 30 "$@"; sleep 0.2; }
typed() { xdotool type --delay 30 "$1"; sleep 0.2; }

# What the active sheet's cells show, through the program's test dump (ZELTARN_TEST_DUMP); the
# current cell's screen rectangle is left in $current_x $current_y $current_w $current_h, its
# name (B3) in $current_cell, the number of open sheets in $open_sheets and the address label,
# blanks trimmed at both ends (B 3), in $address_label.
dump() {
    rm -f "$ZELTARN_TEST_DUMP"
    keys ctrl+shift+F12
    for _ in $(seq 50); do [ -s "$ZELTARN_TEST_DUMP" ] && break; sleep 0.05; done
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
    sleep 0.3
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
