#!/usr/bin/env bash
# Keys go where the learner is, under a real window manager (openbox on a virtual display):
# after a message box, a click on the chat's test partner, F4 with a restore, and the reading
# helper's file dialog cancelled or answered with a file too large, the window that should
# take the keys is the active one, and typing reaches it. Skipped (77) when Xvfb, openbox,
# xdotool, xprop or xwininfo are not installed.
#   activation_check.sh <desktop_probe> <data tree>
set -u
probe="$1"
tree="$2"
source "$(dirname "$0")/desktop_session.sh"

# Each case: its record (lesson step) and its steps, in order:
#   p:<command>    a command to the program
#   w:<form>       wait until that form's window is the active one
#   box[:<title>]  wait until a message box ("Advice", or the title given) is the active window
#   dialog         wait until the file dialog is the active window
#   k:<key>        a key, through the window manager to the active window
#   type:<text>    the text is typed into the active window
#   gone:<form>    wait until that form's window is no longer shown
#   click:<form>   a click inside that form's window
#   hidden         wait until the main window is minimised
#   restore        the main window is restored as a taskbar would
#   t:<form>:<control>:<text>  "hao" is typed; the control then shows <text>
cases=(
  "warning answered stay, typing|1 2|p:study 1;w:Typing;k:Escape;box;k:Return;w:Typing;t:Typing:Label8:hao "
  "warning answered stay, reading aloud|10 6|p:study 5;w:Text;k:Escape;box;k:Return;w:Text"
  "typing, below the pass mark|1 2|p:study 1;w:Typing;p:pass wrong;box;k:Return;w:Typing;t:Typing:Label8:hao "
  "typing, finished and Cancel|1 2|p:study 1;w:Typing;p:pass right;box;k:Escape;w:Typing;t:Typing:Label8:hao "
  "chat test partner clicked|1 2|p:tool 6;w:Chat;p:testpartner;click:ChatTest;w:Chat;t:Chat:Combo1:hao"
  "F4 and restore|1 2|p:study 1;w:Typing;k:F4;hidden;restore;w:Typing;t:Typing:Label8:hao "
  "reading helper's file dialog cancelled|1 2|p:tool 8;w:ReadingHelper;p:press ReadingHelper Command5;dialog;k:Escape;w:ReadingHelper;k:Escape;gone:ReadingHelper"
  "reading helper's file too large|1 2|p:tool 8;w:ReadingHelper;p:press ReadingHelper Command5;dialog;type:$work/large.txt;k:Return;box:Warning;k:Return;w:ReadingHelper;k:Escape;gone:ReadingHelper"
)

# A text file larger than the reading helper opens.
head -c 5000000 /dev/zero | tr '\0' a >"$work/large.txt"

start_desktop 1024x768
failed=0
for entry in "${cases[@]}"; do
  IFS='|' read -r name record steps <<<"$entry"
  # shellcheck disable=SC2086
  start_program $record
  problem=""
  prev="the start"
  IFS=';' read -ra list <<<"$steps"
  for step in "${list[@]}"; do
    case "$step" in
      p:*) ask "${step#p:}" >/dev/null ;;
      w:*)
        form="${step#w:}"
        wait_for '[ -n "$(window "$form")" ]' || { problem="$form is not shown"; break; }
        id=$(window "$form")
        wait_for '[ "$(active)" = "$id" ]' || { problem="$form is not active after '$prev' (active: $(xdotool getactivewindow getwindowname 2>/dev/null))"; break; } ;;
      box*) # a pass answered partly wrong takes 3.6 s for each wrong answer
        title=Advice
        [ "$step" = box ] || title="${step#box:}"
        wait_for '[ "$(xdotool getactivewindow getwindowname 2>/dev/null)" = "$title" ]' 600 || { problem="no message box"; break; } ;;
      dialog)
        wait_for 'xdotool getactivewindow getwindowname 2>/dev/null | grep -q "^Open"' || { problem="no file dialog"; break; } ;;
      k:*) xdotool key "${step#k:}" ;;
      type:*) xdotool type --delay 10 "${step#type:}" ;;
      gone:*)
        wait_for '[ -z "$(window "${step#gone:}")" ]' || { problem="${step#gone:} stays after '$prev' (active: $(xdotool getactivewindow getwindowname 2>/dev/null))"; break; } ;;
      click:*)
        id=$(window "${step#click:}")
        [ -n "$id" ] || { problem="${step#click:} is not shown"; break; }
        wait_for 'xwininfo -id "$id" | grep -q IsViewable' || { problem="${step#click:} is not mapped"; break; }
        xdotool mousemove --window "$id" 12 12 click 1 ;;
      hidden)
        back=$(window Background)
        wait_for 'xprop -id "$back" _NET_WM_STATE | grep -q HIDDEN' || { problem="F4 did not minimise the program"; break; } ;;
      restore) xdotool windowactivate "$back" 2>/dev/null ;;
      t:*)
        IFS=':' read -r _ form control want <<<"$step"
        xdotool type --delay 30 hao
        wait_for '[ "$(ask text "$form" "$control")" = "text $want" ]' \
          || { problem="typing went elsewhere: $form $control shows '$(ask text "$form" "$control")'"; break; } ;;
    esac
    prev="$step"
  done
  if [ -n "$problem" ]; then
    echo "FAILED: $name: $problem"
    failed=$((failed + 1))
  else
    echo "passed: $name"
  fi
done
echo "$((${#cases[@]} - failed)) passed, $failed failed"
[ "$failed" = 0 ]
