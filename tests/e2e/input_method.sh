#!/usr/bin/env bash
# Japanese typed through a real input method, fcitx5 with mozc, under a real X server: what the
# keys commit on a cell is what they commit in a plain Qt line edit, and a composition a click
# interrupts lands in the cell where it began. mozc refuses to run as root, so as root the test
# runs the input method and the programs as a user of its own, made for the run and removed
# after it.
set -u
here="$(cd "$(dirname "$0")" && pwd)"
if [ "${1:-}" = "--as-user" ]; then
    shift
    exec bash "$here/input_method_session.sh" "$@"
fi
prog="$1"
lineedit="$2"

for tool in fcitx5 fcitx5-remote dbus-run-session Xvfb xdotool; do
    command -v "$tool" >/dev/null || { echo "FAIL $tool is not installed (scripts/setup-deps.sh installs it)"; exit 1; }
done

if [ "$(id -u)" -ne 0 ]; then
    exec dbus-run-session -- bash "$here/input_method_session.sh" "$prog" "$lineedit"
fi

# A folder the user can reach, with copies of what it runs; the build's folders may be private.
shared=$(mktemp -d /tmp/zeltarn-ime.XXXXXX)
chmod 755 "$shared"
user="zeltarn-ime-$$"
cleanup() {
    pkill -u "$user" 2>/dev/null
    for _ in $(seq 100); do pgrep -u "$user" >/dev/null || break; sleep 0.05; done
    userdel "$user" 2>/dev/null
    rm -rf "$shared"
}
trap cleanup EXIT
cp "$prog" "$shared/zeltarn"
cp "$lineedit" "$shared/plainlineedit"
cp "$here/lib.sh" "$here/input_method_session.sh" "$shared/"
if [ -n "${LSAN_OPTIONS:-}" ] && [ -f "$here/../lsan.supp" ]; then
    cp "$here/../lsan.supp" "$shared/lsan.supp"
    export LSAN_OPTIONS="suppressions=$shared/lsan.supp"
fi
chmod -R a+rX "$shared"
useradd --no-create-home --home-dir "$shared" --shell /bin/bash "$user" || { echo "FAIL cannot add a user"; exit 1; }
runuser -u "$user" -- env TMPDIR=/tmp dbus-run-session -- bash "$shared/input_method_session.sh" \
    "$shared/zeltarn" "$shared/plainlineedit"
