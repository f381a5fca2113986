# Sourced by the desktop checks: a virtual display of its own with openbox
# (tests/support/virtual_desktop.sh), and the program started through desktop_probe with a
# learner's record, driven through a pipe. Exits 77 (skipped) when a tool is missing.
source "$(dirname "${BASH_SOURCE[0]}")/../support/virtual_desktop.sh"
skip_without Xvfb openbox xdotool xprop xwininfo
tree=$(cd "$tree" && pwd)

# start_program [NAME=VALUE...] LESSON STEP [started]: the program on the data tree, with that
# frontier in its record and those variables in its environment, until the course panel (or
# the code-page help window) is shown, or with "started" until it answers commands.
start_program() {
  local environment=()
  while [[ "${1:-}" == *=* ]]; do
    environment+=("$1")
    shift
  done
  { exec 5>&-; } 2>/dev/null
  stop_pids 2
  local app="$work/app"
  rm -rf "$app" "$work/in" "$work/lock"
  mkdir -p "$app/Record"
  mkdir -m 700 "$work/lock" # a private folder, or the lock is the shared one of every run
  for entry in "$tree"/*; do
    [ "$(basename "$entry")" = Record ] || ln -s "$entry" "$app/"
  done
  printf "\\x$(printf %02x "$1")\\x00\\x$(printf %02x "$2")\\x00" >"$app/Record/Study.vmq"
  mkfifo "$work/in"
  : >"$work/out"
  env "${environment[@]}" VELMORA_APPPATH="$app" VELMORA_LOCK_DIR="$work/lock" VELMORA_SILENT_SOUND=1 QT_QPA_PLATFORM=xcb \
    "$probe" <"$work/in" >"$work/out" 2>"$work/probe.err" &
  pids+=($!)
  exec 5>"$work/in"
  [ "${3:-}" = started ] && return
  wait_for 'grep -q "^ready" "$work/out" || ! kill -0 "${pids[-1]}" 2>/dev/null' 600
  grep -q "^ready" "$work/out" || {
    cat "$work/probe.err"
    fail "the program did not show the course panel; shown: $(xdotool search --onlyvisible --name . getwindowname %@ 2>/dev/null | tr '\n' ',')"
  }
}

# ask COMMAND: sends a command to the program and prints its answer (without the "ok").
ask() {
  local before
  before=$(grep -c '^ok$' "$work/out")
  : >"$work/answer"
  echo "$*" >&5
  wait_for '[ "$(grep -c "^ok$" "$work/out")" -gt "$before" ]' 300 || fail "no answer to: $*"
  awk -v n="$before" '/^ok$/ { if (++seen > n) exit; next } seen == n' "$work/out" | grep -v '^ready$'
}

# window FORM: the native id (decimal) of a visible form, empty when it is not shown.
window() { ask windows | awk -v f="$1" '$1 == "win" && $2 == f { print $3 }'; }
active() { xdotool getactivewindow 2>/dev/null; }
# await_active FORM AFTER: waits until the form's window is shown and is the active one; else
# $problem says which was not, after the step AFTER, and it fails.
await_active() {
  local form="$1" after="$2" id
  wait_for '[ -n "$(window "$form")" ]' || { problem="$form is not shown"; return 1; }
  id=$(window "$form")
  wait_for '[ "$(active)" = "$id" ]' \
    || { problem="$form is not active after '$after' (active: $(xdotool getactivewindow getwindowname 2>/dev/null))"; return 1; }
}
# await_box TITLE AFTER [TENTHS]: waits (10 s, or the tenths given) until a message box of that
# title is the active window; else $problem says so and it fails.
await_box() {
  local title="$1" after="$2"
  wait_for '[ "$(xdotool getactivewindow getwindowname 2>/dev/null)" = "$title" ]' "${3:-100}" \
    || { problem="no $title box after '$after'"; return 1; }
}

# The frame round a client window: its ancestor just below the root.
frame_of() {
  local id="$1" parent root
  root=$(xwininfo -root | awk '/Window id:/ { print $4; exit }')
  while :; do
    parent=$(xwininfo -children -id "$id" | awk '/Parent window id:/ { print $4; exit }')
    [ -z "$parent" ] || [ "$((parent))" = "$((root))" ] && break
    id="$parent"
  done
  echo "$id"
}

mapped() { xwininfo -id "$1" 2>/dev/null | grep -q IsViewable; }

# stack_problem: nothing when every window of ours that is shown (forms, message boxes, file
# dialogs) is mapped, lies above its owner in the window manager's stacking, and an open box or
# dialog lies above every other window of ours; else what is wrong.
stack_problem() {
  ask stack >"$work/stack"
  xprop -root _NET_CLIENT_LIST_STACKING | grep -o '0x[0-9a-f]*' | while read -r w; do echo $((w)); done >"$work/order"
  local kind name id owner
  while read -r kind name id owner; do
    mapped "$id" || { echo "$name is not mapped"; return; }
    [ "$kind" = box ] && [ "$owner" = 0 ] && { echo "the $name box has no owner"; return; }
    [ "$owner" = 0 ] || grep -q " $owner [0-9]*$" "$work/stack" || { echo "the owner of $name is not shown"; return; }
  done <"$work/stack"
  awk 'NR == FNR { at[$1] = FNR; next }
    { place[$3] = at[$3]; name[$3] = $2; owner[$3] = $4; kind[$3] = $1; if (at[$3] > top) top = at[$3] }
    END {
      for (w in place) {
        if (owner[w] != 0 && place[w] < place[owner[w]]) { print name[w] " lies under " name[owner[w]]; exit }
        if (kind[w] == "box" && place[w] < top) { print "the " name[w] " box is not on top"; exit }
      }
    }' "$work/order" "$work/stack"
}

# shown_while_minimised: nothing when no window of ours is on the screen, else its name.
shown_while_minimised() {
  ask stack | while read -r _ name id _; do
    mapped "$id" && { echo "$name"; return; }
  done
}
