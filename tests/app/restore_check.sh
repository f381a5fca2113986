#!/usr/bin/env bash
# A minimised program comes back, under a real window manager (openbox on a virtual display) at
# 1024 x 768 and 1280 x 1024: minimised by a double click on the backdrop and by F4, 50 times
# each, and restored as a taskbar or a pager restores it (_NET_ACTIVE_WINDOW), the main window,
# the start menu and the course panel are mapped again every time, and the window manager never
# iconifies the main window more often than the learner minimised it. Iconified by the window
# manager at each stage of the start-up (the backdrop and the menu, the loading window, the
# moment it closes, the course panel's turn), the program shows nothing until it is restored,
# and then every window is mapped above its owner and the course panel has the keys. With
# VELMORA_SHOTS set to a folder, a screenshot after the last restore at each size goes there.
# Skipped (77) when Xvfb, openbox, xdotool, xprop or xwininfo are not installed.
#   restore_check.sh <desktop_probe> <data tree>
set -u
probe="$1"
tree="$2"
source "$(dirname "$0")/desktop_session.sh"
trials=50

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

  # The start-up, iconified this long after the backdrop is mapped, or as the loading window
  # shows or closes.
  for stage in 0 0.1 0.2 0.3 0.4 "loading window shown" "loading window closed"; do
    start_program 1 2 started
    wait_for '[ -n "$(window Background)" ] && mapped "$(window Background)"' || fail "$size: the main window did not show"
    back=$(window Background)
    case "$stage" in
      "loading window shown") wait_for '[ -n "$(window LoadData)" ]' || fail "$size: no loading window" ;;
      "loading window closed") wait_for '[ -n "$(window LoadData)" ]' && wait_for '[ -z "$(window LoadData)" ]' || fail "$size: no loading window" ;;
      *) sleep "$stage" ;;
    esac
    # A window of ours mapped or activated at the very moment of the iconify makes the window
    # manager restore the program at once: it must then be whole, and is iconified again.
    for attempt in 1 2 3 4 5; do
      xdotool windowminimize "$back"
      wait_for 'xprop -id "$back" _NET_WM_STATE | grep -q HIDDEN' 20 && break
      [ "$attempt" = 5 ] && fail "$size, iconified at $stage: not iconified"
      wait_for '[ -z "$(stack_problem)" ]' || fail "$size, iconified at $stage and at once restored: $(stack_problem)"
    done
    wait_for '[ "$(ask activity)" = "activity 0" ]' 300 || fail "$size, iconified at $stage: the start-up did not go on"
    sleep 0.3
    [ -z "$(shown_while_minimised)" ] || fail "$size, iconified at $stage: $(shown_while_minimised) shows alone while the program is minimised"
    xdotool windowactivate "$back"
    wait_for '[ -n "$(window Begin1)" ] && [ -z "$(stack_problem)" ]' || fail "$size, iconified at $stage: $(stack_problem) after the restore"
    panel=$(window Begin1)
    wait_for '[ "$(active)" = "$panel" ]' || fail "$size, iconified at $stage: the course panel has not the keys ($(xdotool getactivewindow getwindowname 2>/dev/null) has)"
    xdotool key space
    wait_for '[ -n "$(window Typing)" ] && [ "$(active)" = "$(window Typing)" ]' || fail "$size, iconified at $stage: Space on the course panel did not open the typing task"
    echo "$size: iconified at $stage, restored whole"
  done
done
echo "every restore brought the program back"
