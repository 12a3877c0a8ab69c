#!/usr/bin/env bash
# The sheet as a screen reader reads it: the real program under a real X server, in a D-Bus
# session of its own with an accessibility bus, read through AT-SPI (pyatspi) while it is
# driven by keys. accessibility.py holds the checks.
set -u
here="$(cd "$(dirname "$0")" && pwd)"
if [ "${1:-}" != "--in-session" ]; then
    for tool in dbus-run-session dbus-send Xvfb xdotool /usr/libexec/at-spi-bus-launcher; do
        command -v "$tool" >/dev/null || { echo "FAIL $tool is not installed (scripts/setup-deps.sh installs it)"; exit 1; }
    done
    # Debian's own Python has the AT-SPI bindings; another one first on the path may not.
    /usr/bin/python3 -c 'import pyatspi' 2>/dev/null || { echo "FAIL python3-pyatspi is not installed"; exit 1; }
    exec dbus-run-session -- bash "$0" --in-session "$@"
fi
prog="$2"
source "$here/lib.sh"
start_display

start_accessibility_bus

# 40 filled rows: A1 holds 12, every other cell a formula on A1 whose value tells its place
# (B2 is =A1+202, so 214), so that 再計算 after a change of A1 changes every cell.
/usr/bin/python3 - "$work/filled.csv" <<'EOF'
import sys
rows = []
for r in range(1, 41):
    rows.append(",".join('"12"' if (r, c) == (1, 1) else '"=A1+%d"' % (r * 100 + c) for c in range(1, 27)))
open(sys.argv[1], "w", newline="").write("\r\n".join(rows) + "\r\n")
EOF

export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
if ! start_program "$work/filled.csv"; then
    failed "the program shows no window"
    exit 1
fi
/usr/bin/python3 "$here/accessibility.py" || fail=1
kill -0 "$program" 2>/dev/null || failed "the program ended"
[ $fail -eq 0 ] && note "accessibility: all checks passed"
exit $fail
