#!/usr/bin/env bash
# Runs one benchmark on a virtual X display of its own with a window manager, as a desktop
# has one: Xvfb on a free display (chosen by Xvfb itself), openbox on it, then the command.
#   bench/on_virtual_display.sh build/bench/launch_bench
#   bench/on_virtual_display.sh build/bench/zoom_bench --benchmark_filter=MouseRelease
# VIRTUAL_DISPLAY=<n> asks for display :<n> instead of a free one. Exits 77 (skipped) when
# Xvfb or openbox is not installed.
set -u
for tool in Xvfb openbox xprop; do
  command -v "$tool" >/dev/null || { echo "skipped: $tool is not installed"; exit 77; }
done
work=$(mktemp -d)
pids=()
cleanup() {
  for ((i = ${#pids[@]} - 1; i >= 0; i--)); do kill "${pids[i]}" 2>/dev/null; wait "${pids[i]}" 2>/dev/null; done
  rm -rf "$work"
}
trap cleanup EXIT
wait_for() {
  for _ in $(seq 100); do
    eval "$1" && return 0
    sleep 0.1
  done
  return 1
}
if [ -n "${VIRTUAL_DISPLAY:-}" ]; then
  Xvfb ":$VIRTUAL_DISPLAY" -screen 0 1024x768x24 -nolisten tcp 2>"$work/xvfb.log" &
  echo "$VIRTUAL_DISPLAY" >"$work/display"
else
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
fi
pids+=($!)
wait_for '[ -s "$work/display" ]' || { echo "no virtual display"; exit 1; }
export DISPLAY=":$(head -n1 "$work/display")"
wait_for 'xprop -root >/dev/null 2>&1' || { echo "the virtual display did not start"; exit 1; }
openbox >"$work/openbox.log" 2>&1 &
pids+=($!)
wait_for 'xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id"' || { echo "openbox did not start"; exit 1; }
unset QT_QPA_PLATFORM
"$@"
