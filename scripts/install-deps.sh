#!/usr/bin/env bash
# Installs exactly what building, running and testing WEX Browser needs on Debian 12.
# Idempotent: safe to run again; apt-get skips what is already there.
set -euo pipefail
if [ "$(id -u)" -ne 0 ]; then SUDO=sudo; else SUDO=; fi
export DEBIAN_FRONTEND=noninteractive
PACKAGES=(
  build-essential cmake ninja-build pkg-config git
  qt6-base-dev qt6-base-dev-tools libgl-dev
  qt6-l10n-tools qt6-translations-l10n
  librsvg2-bin desktop-file-utils appstream groff-base man-db dpkg-dev file
  libgtest-dev
  clang libclang-rt-14-dev
  python3
  procps xvfb xauth xdotool imagemagick
  dbus-daemon
  qt6ct
  fonts-noto-cjk fonts-dejavu-core fonts-lohit-deva
  nmh mblaze notmuch hyperfine time
)
$SUDO apt-get update
$SUDO apt-get install -y --no-install-recommends "${PACKAGES[@]}"
