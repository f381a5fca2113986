#!/usr/bin/env bash
# Keys go where the learner is, under a real window manager (openbox on a virtual display):
# at start, after a message box, a click on the chat's test partner, F4 with a restore (twice
# in a dictionary's search box, where it opens no list), an on-line look-up and the one typed
# after its page, a word a tool hands to the dictionary a second time, a companion or
# dictionary window closed by its close box, the reading helper's file dialog cancelled or
# answered with a file too large, and the code-page help window shown instead of the start
# menu, the window that should take the keys is the active one, and typing (or Esc) reaches
# it; Return on a focused button (the course panel's Open, the quiz's Next, the help window's)
# clicks it. A box, a file dialog or the uninstaller open when the program is minimised, or a
# box raised while it is, goes down with it and comes back on top with the keys. With
# VELMORA_SHOTS set to a folder, a screenshot at the end of each case goes there; with
# VELMORA_CASES set, only the cases whose name holds that text run. Skipped (77)
# when Xvfb, openbox, xdotool, xprop or xwininfo are not installed.
#   activation_check.sh <desktop_probe> <data tree>
set -u
probe="$1"
tree="$2"
source "$(dirname "$0")/desktop_session.sh"

# Each case: its record (lesson step), its steps and the screen sizes it runs at (1024 x 768
# when none are given). The steps, in order:
#   p:<command>    a command to the program
#   w:<form>       wait until that form's window is the active one
#   box[:<title>]  wait until a message box ("Advice" unless named) is the active window
#   dialog         wait until the file dialog is the active window
#   k:<key>        a key, through the window manager to the active window
#   click:<form>[:<control>]  a click inside that form's window (on that control)
#   type:<text>    the text is typed
#   see:<form>:<control>:<text>  wait until the control shows the text
#   stay:<form>    that form's window stays the active one for a second
#   gone:<form>    wait until the form's window is no longer shown
#   close:<form>   a click on the close box of that form's window frame
#   hidden         wait until the main window is minimised
#   iconify        the window manager iconifies the main window (as "show desktop" does)
#   down           no window of ours stays on the screen while the program is minimised
#   boxdown        wait until a message box is asked for while the program is minimised; it
#                  stays down
#   restore        the main window is restored as a taskbar would
#   whole          every window of ours is mapped and above its owner, a box above them all
#   t:<form>:<control>:<text>  "hao" is typed; the control then shows <text>
#   focus:<form>:<control>  wait until that control has the form's focus
#   ended          wait until the program has ended (its exit status 0)
# A record may start with NAME=VALUE words: the program's environment for the case.
codepage=VELMORA_FORCE_CODEPAGE_FAILURE=1
cases=(
  "left alone at start|1 2|w:Begin1;k:space;w:Typing;t:Typing:Label8:hao |1024x768 1280x1024"
  "warning answered stay, typing|1 2|p:study 1;w:Typing;k:Escape;box;k:Return;w:Typing;t:Typing:Label8:hao "
  "warning answered stay, reading aloud|10 6|p:study 5;w:Text;k:Escape;box;k:Return;w:Text"
  "typing, below the pass mark|1 2|p:study 1;w:Typing;p:pass wrong;box;k:Return;w:Typing;t:Typing:Label8:hao "
  "typing, finished and Cancel|1 2|p:study 1;w:Typing;p:pass right;box;k:Escape;w:Typing;t:Typing:Label8:hao "
  "chat test partner clicked|1 2|p:tool 6;w:Chat;p:testpartner;click:ChatTest;w:Chat;t:Chat:Combo1:hao"
  "chat Send clicked, characters the partner cannot read|1 2|p:tool 6;w:Chat;p:settext Chat Combo1 xก;click:Chat:Command1;box:Attention;k:Return;w:Chat;t:Chat:Combo1:xกhao"
  "F4 and restore|1 2|p:study 1;w:Typing;k:F4;hidden;restore;w:Typing;t:Typing:Label8:hao "
  "sentences searched by Enter|1 2|p:tool 3;w:SentencesSingle;type:good;k:Return;see:Dictionary:Combo1:good;stay:SentencesSingle;k:End;t:SentencesSingle:Combo1:goodhao;k:Escape;gone:SentencesSingle"
  "alphabet form clicked twice|1 2|p:tool 1;w:Alphabet1;click:Alphabet1:Label4(1);see:Dictionary:Combo1:a1;click:Alphabet1:Label4(1);stay:Alphabet1;k:Escape;gone:Alphabet1"
  "Related Expressions closed while typing|1 2|p:study 1;w:Typing;close:Expressions_Related;w:Typing;t:Typing:Label8:hao "
  "Related Expressions closed while reading aloud|10 6|p:study 5;w:Text;close:Expressions_Related;w:Text;k:Escape;box;k:Return;w:Text"
  "dictionary closed while typing, after Related Expressions closed over it|1 2|p:study 1;w:Typing;click:Dictionary:Combo1;w:Dictionary;close:Expressions_Related;w:Dictionary;close:Dictionary;w:Typing;t:Typing:Label8:hao "
  "on-line dictionary closed beside a tool|1 2|p:tool 3;w:SentencesSingle;close:DictionaryOnline;w:SentencesSingle;t:SentencesSingle:Combo1:hao;k:Escape;gone:SentencesSingle"
  "notepad closed in the lesson text|1 2|p:study 0;w:Text;close:Notepad;w:Text;k:Escape;gone:Text;w:Begin1"
  "reading helper's file dialog cancelled|1 2|p:tool 8;w:ReadingHelper;p:press ReadingHelper Command5;dialog;k:Escape;w:ReadingHelper;k:Escape;gone:ReadingHelper"
  "Set's warning open at a minimise|1 2|click:Begin:Image3(3);click:Setting:Text4;type:1.2.3;click:Setting:Command1;box:Warning;iconify;down;restore;box:Warning;whole;k:Return;w:Setting;whole;t:Setting:Text4:hao;click:Setting:Command1;box:Warning;k:Escape;w:Setting|1024x768 1280x1024"
  "typing's warning open at a minimise|1 2|p:study 1;w:Typing;k:Escape;box;iconify;down;restore;box;whole;k:Return;w:Typing;whole;t:Typing:Label8:hao ;k:Escape;box;k:Return;w:Typing|1024x768 1280x1024"
  "typing's pass mark missed while minimised|1 2|p:study 1;w:Typing;p:pass wrong;iconify;boxdown;restore;box;whole;k:Return;w:Typing;whole;t:Typing:Label8:hao |1024x768 1280x1024"
  "reading helper's file dialog open at a minimise|1 2|p:tool 8;w:ReadingHelper;p:press ReadingHelper Command5;dialog;iconify;down;restore;dialog;whole;k:Escape;w:ReadingHelper;whole;k:Escape;gone:ReadingHelper|1024x768 1280x1024"
  "uninstaller open at a minimise, then Cancel|1 2|click:Begin:Image3(3);click:Setting:Command5;box:Attention;k:y;w:Uninstall;iconify;down;restore;w:Uninstall;whole;click:Uninstall:Command2;w:Setting;whole;k:F4;hidden;restore;w:Setting;whole;click:Setting:Command5;box:Attention;k:Escape;w:Setting;click:Begin:Image3(1);w:Begin;whole|1024x768 1280x1024"
  "each panel at F4|1 2|click:Begin:Image3(2);k:F4;hidden;restore;w:Begin;whole;click:Begin:Image3(4);k:F4;hidden;restore;w:Begin;whole;click:Begin:Image3(3);k:F4;hidden;restore;w:Begin;whole"
  "reading helper's file too large|1 2|p:tool 8;w:ReadingHelper;p:press ReadingHelper Command5;dialog;type:$work/large.txt;k:Return;box:Warning;k:Return;w:ReadingHelper;k:Escape;gone:ReadingHelper"
  "on-line look-up typed, and the next typed after its page|1 2|p:service;p:tool 3;w:SentencesSingle;p:settext DictionaryOnline Combo1 ;click:DictionaryOnline:Combo1;w:DictionaryOnline;type:tea;k:Return;see:DictionaryOnline:RichTextBox1:tea 好 [Lexicon Online];t:DictionaryOnline:Combo1:teahao;k:Return;see:DictionaryOnline:RichTextBox1:teahao 好 [Lexicon Online];t:DictionaryOnline:Combo1:teahaohao|1024x768 1280x1024"
  "F4 twice in the dictionary's search box, with a history|1 2|p:tool 3;w:SentencesSingle;p:look good;p:settext Dictionary Combo1 ;click:Dictionary:Combo1;w:Dictionary;k:F4;hidden;restore;w:Dictionary;k:F4;hidden;restore;w:Dictionary;t:Dictionary:Combo1:hao|1024x768 1280x1024"
  "F4 twice in the on-line search box, with a history|1 2|p:service;p:tool 3;w:SentencesSingle;click:DictionaryOnline:Combo1;w:DictionaryOnline;type:tea;k:Return;see:DictionaryOnline:RichTextBox1:tea 好 [Lexicon Online];p:settext DictionaryOnline Combo1 ;click:DictionaryOnline:Combo1;k:F4;hidden;restore;w:DictionaryOnline;k:F4;hidden;restore;w:DictionaryOnline;t:DictionaryOnline:Combo1:hao|1024x768 1280x1024"
  "code-page help, Esc cancels the launch|$codepage 1 2|w:StartOrNot;k:Escape;ended|1024x768 1280x1024"
  "code-page help, Return on its first button|$codepage 1 2|w:StartOrNot;k:Tab;focus:StartOrNot:Command1;k:Return;w:Begin1;k:Return;w:Typing;t:Typing:Label8:hao "
  "course panel's Open by Return|1 2|w:Begin1;k:Return;w:Typing;t:Typing:Label8:hao |1024x768 1280x1024"
  "sentence quiz's Next by Return|1 2|p:study 4;w:FindSentence;p:quiz wrong;focus:FindSentence:Command4;k:Return;see:FindSentence:Label1:2;w:FindSentence;k:Escape;gone:FindSentence;w:Begin1"
  "vocabulary test of a lesson studied, Return after Start and two answers|1 2|p:frontier 92 1;p:study 2;w:Vocabulary;click:Vocabulary:Command2;see:Vocabulary:Label4(3):1;click:Vocabulary:Label2(0);see:Vocabulary:Label4(3):2;click:Vocabulary:Label2(0);k:Return;stay:Vocabulary;see:Vocabulary:Label4(3):3;click:Vocabulary:Label2(0);see:Vocabulary:Label4(3):4"
  "vocabulary test of the current lesson, Return after Start and two answers|1 3|p:study 2;w:Vocabulary;click:Vocabulary:Command2;see:Vocabulary:Label4(3):1;click:Vocabulary:Label2(0);see:Vocabulary:Label4(3):2;click:Vocabulary:Label2(0);k:Return;stay:Vocabulary;see:Vocabulary:Label4(3):3;click:Vocabulary:Label2(0);see:Vocabulary:Label4(3):4"
  "on-line look-up by a click on Search, and the next typed after its page|1 2|p:service;p:tool 3;w:SentencesSingle;p:settext DictionaryOnline Combo1 tea;click:DictionaryOnline:Command1;see:DictionaryOnline:RichTextBox1:tea 好 [Lexicon Online];t:DictionaryOnline:Combo1:teahao;k:Return;see:DictionaryOnline:RichTextBox1:teahao 好 [Lexicon Online]|1024x768 1280x1024"
  "F4 in the character pop-up over the reading helper|1 2|p:tool 8;w:ReadingHelper;click:ReadingHelper:RichTextBox1;p:popup ReadingHelper 好;w:Zoom;k:F4;hidden;restore;w:ReadingHelper;t:ReadingHelper:RichTextBox1:hao|1024x768 1280x1024"
  "code-page help, the step chosen keeps the keys over a minimise|$codepage 1 2|w:StartOrNot;k:Right;focus:StartOrNot:Option2;iconify;down;restore;w:StartOrNot;stay:StartOrNot;focus:StartOrNot:Option2;k:Tab;focus:StartOrNot:Command1;k:Return;w:Begin1|1024x768 1280x1024"
)

# A text file larger than the reading helper opens.
head -c 5000000 /dev/zero | tr '\0' a >"$work/large.txt"

# Each case at each of its sizes, a desktop started anew for each size.
runs=()
for size in 1024x768 1280x1024; do
  for entry in "${cases[@]}"; do
    IFS='|' read -r name _ _ sizes <<<"$entry"
    [[ "$name" == *"${VELMORA_CASES:-}"* ]] || continue
    [[ " ${sizes:-1024x768} " == *" $size "* ]] && runs+=("$size|$entry")
  done
done
failed=0
desktop=""
for entry in "${runs[@]}"; do
  IFS='|' read -r size name record steps _ <<<"$entry"
  [ "$size" = "$desktop" ] || start_desktop "$size"
  desktop="$size"
  # shellcheck disable=SC2086
  start_program $record
  problem=""
  prev="the start"
  IFS=';' read -ra list <<<"$steps"
  for step in "${list[@]}"; do
    case "$step" in
      p:*) ask "${step#p:}" >/dev/null ;;
      w:*) await_active "${step#w:}" "$prev" || break ;;
      boxdown)
        wait_for '[ "$(ask asking)" = "asking 1" ]' 600 || { problem="no message box while minimised"; break; }
        wait_for '[ -z "$(shown_while_minimised)" ]' || { problem="$(shown_while_minimised) shows alone while the program is minimised"; break; } ;;
      box*) # a pass answered partly wrong takes 3.6 s for each wrong answer
        title=Advice
        [ "$step" = box ] || title="${step#box:}"
        await_box "$title" "$prev" 600 || break ;;
      dialog)
        wait_for 'xdotool getactivewindow getwindowname 2>/dev/null | grep -q "^Open"' || { problem="no file dialog after '$prev'"; break; } ;;
      k:*) xdotool key "${step#k:}" ;;
      click:*)
        IFS=':' read -r _ form control <<<"$step"
        id=$(window "$form")
        [ -n "$id" ] || { problem="$form is not shown"; break; }
        wait_for 'xwininfo -id "$id" | grep -q IsViewable' || { problem="$form is not mapped"; break; }
        at="12 12"
        [ -n "$control" ] && at=$(ask place "$form" "$control" | awk '$1 == "place" { print $2, $3 }')
        [ -n "$at" ] || { problem="$form has no $control"; break; }
        # shellcheck disable=SC2086
        xdotool mousemove --window "$id" $at click 1 ;;
      type:*) xdotool type --delay 30 "${step#type:}" ;;
      see:*)
        IFS=':' read -r _ form control want <<<"$step"
        wait_for '[ "$(ask text "$form" "$control")" = "text $want" ]' \
          || { problem="$form $control shows '$(ask text "$form" "$control")', not '$want'"; break; } ;;
      stay:*)
        form="${step#stay:}"
        id=$(window "$form")
        for _ in $(seq 10); do
          [ "$(active)" = "$id" ] || { problem="$form lost the keys after '$prev' (active: $(xdotool getactivewindow getwindowname 2>/dev/null))"; break 2; }
          sleep 0.1
        done ;;
      gone:*)
        form="${step#gone:}"
        wait_for '[ -z "$(window "$form")" ]' || { problem="$form did not close after '$prev'"; break; } ;;
      close:*) # openbox puts the close box at the right end of the title bar
        id=$(window "${step#close:}")
        [ -n "$id" ] || { problem="${step#close:} is not shown"; break; }
        frame=$(frame_of "$id")
        width=$(xwininfo -id "$frame" | awk '/Width:/ { print $2 }')
        xdotool mousemove --window "$frame" $((width - 11)) 9 click 1
        wait_for '[ -z "$(window "${step#close:}")" ]' || { problem="the close box did not close ${step#close:}"; break; } ;;
      hidden)
        back=$(window Background)
        wait_for 'xprop -id "$back" _NET_WM_STATE | grep -q HIDDEN' || { problem="F4 did not minimise the program"; break; } ;;
      iconify)
        back=$(window Background)
        xdotool windowminimize "$back"
        wait_for 'xprop -id "$back" _NET_WM_STATE | grep -q HIDDEN' || { problem="the window manager did not iconify the program"; break; } ;;
      down)
        wait_for '[ -z "$(shown_while_minimised)" ]' || { problem="$(shown_while_minimised) shows alone while the program is minimised"; break; } ;;
      restore) xdotool windowactivate "$back" 2>/dev/null ;;
      focus:*)
        IFS=':' read -r _ form control <<<"$step"
        wait_for '[ "$(ask focus "$form")" = "focus $control" ]' \
          || { problem="$form has the focus on '$(ask focus "$form")', not $control, after '$prev'"; break; } ;;
      ended)
        wait_for '! kill -0 "${pids[-1]}" 2>/dev/null' || { problem="the program did not end after '$prev'"; break; }
        wait "${pids[-1]}" || { problem="the program ended with exit status $?"; break; } ;;
      whole)
        wait_for '[ -z "$(stack_problem)" ]' || { problem="after '$prev': $(stack_problem)"; break; } ;;
      t:*)
        IFS=':' read -r _ form control want <<<"$step"
        xdotool type --delay 30 hao
        wait_for '[ "$(ask text "$form" "$control")" = "text $want" ]' \
          || { problem="typing went elsewhere: $form $control shows '$(ask text "$form" "$control")'"; break; } ;;
    esac
    prev="$step"
  done
  [ -n "${VELMORA_SHOTS:-}" ] && command -v import >/dev/null &&
    import -window root "$VELMORA_SHOTS/keys-$size-${name//[^a-zA-Z0-9]/-}.png"
  if [ -n "$problem" ]; then
    echo "FAILED: $name, $size: $problem"
    failed=$((failed + 1))
  else
    echo "passed: $name, $size"
  fi
done
echo "$((${#runs[@]} - failed)) passed, $failed failed"
[ "$failed" = 0 ]
