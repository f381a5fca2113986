#!/usr/bin/env bash
# Every study stack and every tool stack lies on the screen with its window frames, under a
# real window manager (openbox on a virtual display) at 1024 x 768 and 1280 x 1024: each
# window's frame, read with xwininfo, starts at or below the screen's top and ends at or above
# its bottom, inside its sides, a pixel below the window above it and over none of the others,
# also after the learner maximised, moved off the screen or enlarged a dictionary window in
# the stack before. The dictionary shows at least three whole rows of hits, and on
# the taller screen the room left goes to it (six rows) and to the on-line result box. Prints
# each frame's top and bottom and what the dictionaries show; with VELMORA_SHOTS set to a
# folder, a screenshot of each stack goes there. Skipped (77) when Xvfb, openbox, xdotool,
# xprop or xwininfo are not installed.
#   stack_check.sh <desktop_probe> <data tree>
set -u
probe="$1"
tree="$2"
source "$(dirname "$0")/desktop_session.sh"

# The stacks: the course panel's rows (steps 1-6 and the new-words review) and the Assistants
# menu's eight rows.
stacks=("study 0" "study 1" "study 2" "study 3" "study 4" "study 5" "study 7"
  "tool 1" "tool 2" "tool 3" "tool 4" "tool 5" "tool 6" "tool 7" "tool 8")

# left top right bottom (exclusive) of a window, in pixels.
extent() {
  xwininfo -id "$1" | awk '/Absolute upper-left X/ { x = $4 } /Absolute upper-left Y/ { y = $4 }
    /Width:/ { w = $2 } /Height:/ { h = $2 } END { print x, y, x + w, y + h }'
}
# Every shown window of the stack (the full-screen backdrop aside) with its frame's extent.
frames() {
  ask windows | while read -r _ form id; do
    [ "$form" = Background ] && continue
    xwininfo -id "$id" 2>/dev/null | grep -q IsViewable || continue
    echo "$form $(extent "$(frame_of "$id")")"
  done
}

# settle: waits until the shown frames rest (the stack is placed again while the window manager
# adds the frames); $work/now then holds them.
settle() {
  local previous="" now=""
  for _ in $(seq 40); do
    sleep 0.25
    now=$(frames)
    [ -n "$now" ] && [ "$now" = "$previous" ] && break
    previous="$now"
  done
  echo "$now" >"$work/now"
}

# on_screen LABEL: every frame of $work/now lies inside the screen, no two overlap, and each
# starts a pixel or two below the lowest bottom of the windows above it (windows side by side
# share a top).
on_screen() {
  local label="$1" form left top right bottom
  while read -r form left top right bottom; do
    echo "$label: $form frame top $top bottom $bottom (left $left right $right)"
    if [ "$top" -lt 0 ] || [ "$bottom" -gt "$height" ] || [ "$left" -lt 0 ] || [ "$right" -gt "$width" ]; then
      echo "FAILED: $label: $form lies beyond the screen"
      failed=$((failed + 1))
    fi
  done <"$work/now"
  local over
  over=$(awk '{ f[NR] = $1; l[NR] = $2; t[NR] = $3; r[NR] = $4; b[NR] = $5 }
    END { for (i = 1; i <= NR; i++) for (j = i + 1; j <= NR; j++)
      if (l[i] < r[j] && l[j] < r[i] && t[i] < b[j] && t[j] < b[i]) print f[i] " and " f[j] }' "$work/now")
  if [ -n "$over" ]; then
    echo "FAILED: $label: $over overlap"
    failed=$((failed + 1))
  fi
  local apart
  apart=$(sort -k3,3n "$work/now" | awk '
    NR == 1 || $3 != top { if (NR > 1 && ($3 - bottom < 0 || $3 - bottom > 2)) print $1 " starts " $3 - bottom " px below the window above it"; top = $3 }
    { if ($5 > bottom) bottom = $5 }')
  if [ -n "$apart" ]; then
    echo "FAILED: $label: $apart"
    failed=$((failed + 1))
  fi
}

# after_learner DOING FORM FIRST NEXT: in the stack FIRST the learner maximises the window of
# FORM (a double click on its title bar), moves it off the screen or makes it as large as the
# screen; the stack NEXT, opened after FIRST is closed, lies on the screen all the same, the
# window no longer maximised.
after_learner() {
  local doing="$1" form="$2" first="$3" next="$4" id frame
  ask "$first" >/dev/null
  settle
  id=$(window "$form")
  frame=$(frame_of "$id")
  case "$doing" in
    maximised)
      xdotool mousemove --window "$frame" 60 8 click --repeat 2 --delay 80 1
      wait_for 'xprop -id "$id" _NET_WM_STATE | grep -q MAXIMIZED_VERT' ||
        { echo "FAILED: $size: a double click on the title bar did not maximise $form"; failed=$((failed + 1)); } ;;
    moved) xdotool windowmove "$frame" $((width - 60)) $((height - 30)) ;;
    resized) xdotool windowsize "$id" $((width - 20)) $((height - 60)) ;;
  esac
  sleep 0.5
  ask close >/dev/null
  ask "$next" >/dev/null
  settle
  [ -n "${VELMORA_SHOTS:-}" ] && command -v import >/dev/null &&
    import -window root "$VELMORA_SHOTS/stack-$size-${next// /-}-after-$doing.png"
  on_screen "$size $next after $form was $doing in $first"
  if xprop -id "$id" _NET_WM_STATE | grep -q MAXIMIZED; then
    echo "FAILED: $size $next after $form was $doing in $first: $form stays maximised"
    failed=$((failed + 1))
  fi
  ask close >/dev/null
}

failed=0
for size in 1024x768 1280x1024; do
  width=${size%x*}
  height=${size#*x}
  start_desktop "$size"
  start_program 1 1
  ask frontier 92 1 >/dev/null # no stack is the frontier: closing one asks nothing
  ask look 好 >/dev/null       # a word with many hits, and an entry with examples
  # Whatever the learner did to the dictionary in the lesson text, the typing task opened next
  # is placed from the screen and the windows' own sizes, the dictionary back in its place.
  for doing in maximised moved resized; do
    after_learner "$doing" Dictionary "study 0" "study 1"
  done
  for stack in "${stacks[@]}"; do
    ask "$stack" >/dev/null
    settle
    [ -n "${VELMORA_SHOTS:-}" ] && command -v import >/dev/null &&
      import -window root "$VELMORA_SHOTS/stack-$size-${stack// /-}.png"
    on_screen "$size $stack"
    # What the dictionary windows show: whole rows of hits, whole lines of the entry, and the
    # on-line result box's height.
    read -r _ rows rowsHeight < <(ask rows Dictionary ListView1)
    read -r _ lines linesHeight < <(ask rows Dictionary RichTextBox1)
    read -r _ _ onlineHeight < <(ask rows DictionaryOnline RichTextBox1)
    echo "$size $stack: hit list $rows rows ($rowsHeight px), entry $lines lines ($linesHeight px), on-line box $onlineHeight px"
    least=3 leastOnline=0
    [ "$size" = 1280x1024 ] && least=6 && [ "${stack% *}" = tool ] && leastOnline=150
    if [ "${rows:-0}" -lt "$least" ] || [ "${onlineHeight:-0}" -lt "$leastOnline" ]; then
      echo "FAILED: $size $stack: the dictionary shows ${rows:-no} whole rows of hits (at least $least), the on-line box ${onlineHeight:-no} px (at least $leastOnline)"
      failed=$((failed + 1))
    fi
    ask close >/dev/null
  done
  # The same for the on-line dictionary of one tool and the tool opened next.
  after_learner maximised DictionaryOnline "tool 3" "tool 4"
done
[ "$failed" = 0 ] || { echo "$failed windows beyond the screen"; exit 1; }
echo "every stack lies on the screen"
