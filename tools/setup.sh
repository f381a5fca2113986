#!/usr/bin/env bash
# Installs every package the build, the data tools and the tests need on a fresh Debian 12.
# Safe to run again: it only installs what is missing. Packages named as arguments are
# installed along with them (tools that only some runs need).
set -euo pipefail
packages=(
  cmake ninja-build g++ ccache pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-multimedia-dev qt6-qpa-plugins libgl-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  espeak-ng sox unicode-data pulseaudio
  fonts-noto-cjk tzdata
  xvfb xauth x11-utils imagemagick
  "$@"
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  $SUDO apt-get update
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y --no-install-recommends "${missing[@]}"
fi
