#!/usr/bin/env bash
# Installs every Debian package the project needs to build, test and run.
# Packages already present are skipped, so a second run is quick.
set -euo pipefail

PACKAGES=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev libqt6opengl6-dev qt6-l10n-tools
  libgtest-dev libgmock-dev libbenchmark-dev
  clang libclang-rt-dev clang-format
  xvfb xauth xdotool xclip x11-apps netpbm poppler-utils fonts-ipafont-gothic
  fcitx5 fcitx5-mozc fcitx5-frontend-qt6 dbus-daemon dbus-bin
  cups-daemon cups-client python3 procps
  qt6-translations-l10n
  dbus at-spi2-core python3-pyatspi
  gnumeric libreoffice-calc-nogui libxlsxwriter-dev libzip-dev
  orca speech-dispatcher speech-dispatcher-espeak-ng speech-dispatcher-audio-plugins espeak-ng libao4
)

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  echo "setup-deps: all packages present"
  exit 0
fi

echo "setup-deps: installing ${missing[*]}"
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -q
$SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"
