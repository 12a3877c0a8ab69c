#!/usr/bin/env bash
# Installs the Debian package on a fresh, minimal Debian 12 (a debootstrap chroot, so only the
# package's dependencies are added) and checks that the program starts and opens a sheet file
# passed to it. Needs root and Debian's package mirror; takes a few minutes; not part of CI.
# Usage: bash scripts/check-clean-install.sh [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build}"
root=$(mktemp -d)
trap 'umount "$root/proc" 2>/dev/null || true; rm -rf "$root"' EXIT
apt-get install -y -q debootstrap >/dev/null
(cd "$build" && cpack -G DEB >/dev/null)
debootstrap --variant=minbase bookworm "$root" http://deb.debian.org/debian >/dev/null
cp "$build"/zeltarn_*_amd64.deb samples/sample.zel "$root/tmp/"
mount -t proc proc "$root/proc"
chroot "$root" bash -c 'apt-get update -q >/dev/null && DEBIAN_FRONTEND=noninteractive apt-get install -y -q /tmp/zeltarn_*_amd64.deb xvfb xdotool >/dev/null'
chroot "$root" bash -s <<'CHECK'
set -u
cd /tmp
zeltarn-cli show sample.zel | head -n 2
Xvfb :7 -nolisten tcp >/dev/null 2>&1 &
sleep 1
export DISPLAY=:7 ZELTARN_TEST_DUMP=/tmp/cells.txt HOME=/tmp XDG_RUNTIME_DIR=/tmp/run
mkdir -m 700 -p /tmp/run
zeltarn /tmp/sample.zel >/dev/null 2>&1 &
for _ in $(seq 100); do w=$(xdotool search --onlyvisible --pid $! 2>/dev/null | head -n1); [ -n "$w" ] && break; sleep 0.1; done
xdotool windowfocus --sync "$w" && sleep 0.3 && xdotool key ctrl+shift+F12 && sleep 0.5
echo "window: $(xdotool getwindowname "$w"), cells shown: $(wc -l </tmp/cells.txt)"
[ "$(wc -l </tmp/cells.txt)" -gt 20 ]
CHECK
echo "clean install: the program starts and opens the sample sheet"
