#!/usr/bin/env bash
# The sheet through a real screen reader: Orca, headless, in a D-Bus session of its own with an
# accessibility bus, speaking through speech-dispatcher into a null audio device; what it would
# say is read from its debug file while keys and clicks drive the real program under Xvfb.
# screen_reader.py holds the steps and checks. Exit 77 (skipped) only where Orca cannot start.
set -u
here="$(cd "$(dirname "$0")" && pwd)"
if [ "${1:-}" != "--in-session" ]; then
    for tool in flock dbus-run-session Xvfb xdotool orca speech-dispatcher /usr/libexec/at-spi-bus-launcher; do
        command -v "$tool" >/dev/null || { echo "FAIL $tool is not installed (scripts/setup-deps.sh installs it)"; exit 1; }
    done
    # Orca does not start while another Orca of the same user runs, as in another run of this
    # test at the same time: such runs take turns (flock holds the lock, not what it runs).
    exec flock -o -w 600 "${TMPDIR:-/tmp}/zeltarn-screen-reader.lock" dbus-run-session -- bash "$0" --in-session "$@"
fi
prog="$2"
source "$here/lib.sh"
export XDG_DATA_HOME="$work/data" XDG_CACHE_HOME="$work/cache" LANG=C.UTF-8 LC_ALL=C.UTF-8
# speech-dispatcher stops answering without an audio device: a private configuration sends its
# sound to libao's null driver.
mkdir -p "$XDG_CONFIG_HOME/speech-dispatcher" "$XDG_DATA_HOME/orca"
cp -r /etc/speech-dispatcher/. "$XDG_CONFIG_HOME/speech-dispatcher/"
echo 'AudioOutputMethod "libao"' >>"$XDG_CONFIG_HOME/speech-dispatcher/speechd.conf"
echo 'default_driver=null' >"$HOME/.libao"
start_display
start_accessibility_bus
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 ZELTARN_TEST_DUMP="$work/cells.txt"
printf '"品名","数量"\r\n"りんご","3"\r\n"=B2*2","4"\r\n' >"$work/fruit.csv"
/usr/bin/python3 "$here/screen_reader.py" "$prog" "$work" "$here/orca_logged.py"
status=$?
[ $status -eq 0 ] && note "screen_reader: all checks passed"
[ $status -eq 1 ] && fail=1
exit $status
