#!/usr/bin/env bash
# Installs every package the build, the data tools and the tests need on a fresh Debian 12.
# Safe to run again: it only installs what is missing. Packages named as arguments are
# installed along with them (tools that only some runs need). The npm package of the stroke
# data goes into the project's own cache, tools/.cache/npm, never into the system.
set -euo pipefail
packages=(
  cmake ninja-build g++ ccache pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-multimedia-dev qt6-qpa-plugins libgl-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  espeak-ng sox unicode-data pulseaudio
  fonts-noto-cjk tzdata
  xvfb xauth x11-utils imagemagick openbox xdotool
  "$@"
)
command -v npm >/dev/null || packages+=(npm)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
# Another install or update (unattended upgrades, a software centre, a second setup) holds
# the package manager's locks for a while: wait for them instead of failing at once.
lock_wait=${VELMORA_APT_LOCK_WAIT:-900}
apt_get() {
  $SUDO env DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout="$lock_wait" "$@"
}
# apt-get update does not wait for the package lists' own lock: try again while only that
# lock stands in the way.
update_lists() {
  local deadline=$((SECONDS + lock_wait)) log status
  log=$(mktemp)
  while true; do
    status=0
    apt_get update 2>&1 | tee "$log" || status=$?
    if [ "$status" -eq 0 ]; then
      rm -f "$log"
      return 0
    fi
    if ! grep -q "Could not get lock" "$log" || [ "$SECONDS" -ge "$deadline" ]; then
      rm -f "$log"
      return "$status"
    fi
    echo "setup: another package manager run holds its lock; waiting for it ..." >&2
    sleep 5
  done
}
if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${#missing[@]} packages: ${missing[*]}"
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  update_lists
  apt_get install -y --no-install-recommends "${missing[@]}"
fi

# Stroke medians for the stroke files (tools/make_strokes.sh), pinned.
stroke_data=hanzi-writer-data
stroke_data_version=2.0.1
npm_dir="$(cd "$(dirname "$0")" && pwd)/.cache/npm"
if ! grep -qs "\"version\": \"$stroke_data_version\"" "$npm_dir/node_modules/$stroke_data/package.json"; then
  echo "setup: fetching the stroke data ($stroke_data $stroke_data_version) into tools/.cache/npm"
  mkdir -p "$npm_dir"
  npm install --prefix "$npm_dir" --no-save --no-package-lock --no-audit --no-fund \
    "$stroke_data@$stroke_data_version"
fi
