#!/usr/bin/env bash
# Makes the README's pictures again: builds the program when needed, starts it for a new
# learner on a virtual 1024 x 768 screen with a window manager (Xvfb and openbox), and saves
# the start menu and the first lesson stack (the lesson text with its dictionary, questions
# and word list) as PNGs in docs/pictures/.
#
#   tools/make_pictures.sh [--no-build]
#
# The learner's records of the build tree are not touched: the program runs on a temporary
# copy of the data tree (links to it, with an empty Record/ folder), without sound, and with
# its own instance lock, so it runs beside a copy that is already open.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
out="$root/docs/pictures"
build=1
[ "${1:-}" = "--no-build" ] && build=0

for tool in Xvfb openbox xdotool xwininfo import; do
  command -v "$tool" >/dev/null || { echo "make_pictures: $tool is missing (tools/setup.sh installs it)" >&2; exit 1; }
done
if [ "$build" = 1 ]; then
  tools/setup.sh >/dev/null
  cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  cmake --build build --target program -- --quiet
fi
tree="$root/build/Velmora"
[ -x "$tree/velmora" ] || { echo "make_pictures: $tree/velmora is not built" >&2; exit 1; }

source tests/support/virtual_desktop.sh
fail() { echo "make_pictures: $*" >&2; exit 1; }

# The data tree for a new learner: everything linked but the records.
app="$work/Velmora"
mkdir -p "$app/Record"
for entry in "$tree"/*; do
  [ "$(basename "$entry")" = Record ] || ln -s "$entry" "$app/"
done

start_desktop 1024x768 -dpi 96

VELMORA_APPPATH="$app" VELMORA_LOCK_DIR="$work" VELMORA_SILENT_SOUND=1 QT_QPA_PLATFORM=xcb \
  "$tree/velmora" >"$work/velmora.log" 2>&1 &
pids+=($!)

# The visible top-level window of the size given (pixels), as a decimal id; none: empty.
window_of_size() {
  local id info
  for id in $(xdotool search --onlyvisible --name '.*' 2>/dev/null); do
    info=$(xwininfo -id "$id" 2>/dev/null) || continue
    if [[ $info == *"Width: $1"$'\n'* && $info == *"Height: $2"$'\n'* ]]; then
      echo "$id"
      return 0
    fi
  done
  return 1
}
shoot() {
  sleep 1.5 # the window manager's frames, and the stack placed again after them
  import -window root -display "$DISPLAY" "$work/shot.png"
  mkdir -p "$out"
  mv "$work/shot.png" "$out/$1"
  echo "make_pictures: docs/pictures/$1"
}

# The course panel (328 x 377 pixels at 96 dpi) opens beside the start menu once the course
# tables are loaded.
wait_for 'window_of_size 328 377 >/dev/null' 600 || { cat "$work/velmora.log" >&2; fail "the start menu did not open"; }
panel=$(window_of_size 328 377)
shoot start-menu.png

# Step 1's "Open" button: 975 x 285 twips at (3630, 1350) on the panel.
xdotool mousemove --window "$panel" 274 100 click 1
wait_for 'xdotool search --onlyvisible --name "^Lesson Text$" >/dev/null' 200 || fail "the lesson stack did not open"
xdotool mousemove 1 1
shoot lesson-stack.png
