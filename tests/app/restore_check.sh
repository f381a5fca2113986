#!/usr/bin/env bash
# A minimised program comes back, under a real window manager (openbox on a virtual display) at
# 1024 x 768 and 1280 x 1024: minimised by a double click on the backdrop and by F4, 50 times
# each, and restored as a taskbar or a pager restores it (_NET_ACTIVE_WINDOW), the main window,
# the start menu and the course panel are mapped again every time, and the window manager never
# iconifies the main window more often than the learner minimised it. With VELMORA_SHOTS set to
# a folder, a screenshot after the last restore at each size goes there. Skipped (77) when
# Xvfb, openbox, xdotool, xprop or xwininfo are not installed.
#   restore_check.sh <desktop_probe> <data tree>
set -u
probe="$1"
tree="$2"
source "$(dirname "$0")/desktop_session.sh"
trials=50

mapped() { xwininfo -id "$1" 2>/dev/null | grep -q IsViewable; }
# How often the window manager has iconified the main window so far.
iconified() { grep -c 'window state: Iconic' "$work/states"; }

for size in 1024x768 1280x1024; do
  start_desktop "$size"
  start_program 1 2
  back=$(window Background)
  menu=$(window Begin)
  panel=$(window Begin1)
  xprop -spy -id "$back" WM_STATE >"$work/states" &
  pids+=($!)
  wait_for 'grep -q "window state: Normal" "$work/states"' || fail "the main window's state cannot be watched"
  done_so_far=0
  for road in "double click" F4; do
    for i in $(seq "$trials"); do
      [ "$(iconified)" = "$done_so_far" ] || fail "$size, $road $i: a restore was undone"
      if [ "$road" = F4 ]; then
        xdotool key F4
      else
        xdotool mousemove 20 $((${size#*x} - 60)) click --repeat 2 --delay 60 1
      fi
      done_so_far=$((done_so_far + 1))
      wait_for '[ "$(iconified)" -ge "$done_so_far" ]' || fail "$size, $road $i: the program was not minimised"
      xdotool windowactivate "$back" 2>/dev/null
      wait_for 'mapped "$back" && mapped "$menu" && mapped "$panel"' ||
        fail "$size, $road $i: not restored (main window $(mapped "$back" || echo un)mapped, menu $(mapped "$menu" || echo un)mapped, panel $(mapped "$panel" || echo un)mapped)"
    done
  done
  # An undone restore iconifies the main window again within milliseconds.
  sleep 0.5
  [ "$(iconified)" = "$done_so_far" ] || fail "$size: the last restore was undone"
  [ -n "${VELMORA_SHOTS:-}" ] && command -v import >/dev/null && import -window root "$VELMORA_SHOTS/restored-$size.png"
  echo "$size: restored $done_so_far times"
done
echo "every restore brought the program back"
