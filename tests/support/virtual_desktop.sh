# Sourced by the scripts that need a desktop of their own: a virtual display (Xvfb, on a free
# display it picks itself unless desktop_display names one) with openbox on it. Gives a
# private work folder ($work), the processes started ($pids, stopped in reverse at exit, with
# the folder removed), fail, wait_for and start_desktop.

# skip_without TOOL...: exits 77 (skipped) when a tool is not installed.
skip_without() {
  local tool
  for tool; do
    command -v "$tool" >/dev/null || { echo "skipped: $tool is not installed"; exit 77; }
  done
}

work=$(mktemp -d)
pids=()
# stop_pids [N]: stops the processes started after the first N (all by default), newest first.
stop_pids() {
  for ((i = ${#pids[@]} - 1; i >= "${1:-0}"; i--)); do
    kill "${pids[i]}" 2>/dev/null || true
    wait "${pids[i]}" 2>/dev/null || true
  done
  pids=("${pids[@]:0:${1:-0}}")
}
cleanup() { { exec 5>&-; } 2>/dev/null; stop_pids 0; rm -rf "$work"; }
trap cleanup EXIT
fail() { echo "FAILED: $*"; exit 1; }

# Waits up to 10 s (or the tenths of a second given) for a condition: the window manager works
# at its own pace.
wait_for() {
  for _ in $(seq "${2:-100}"); do
    eval "$1" && return 0
    sleep 0.1
  done
  return 1
}

# start_desktop WIDTHxHEIGHT [Xvfb option...]: a new display (any earlier one and what runs on
# it stopped) with openbox managing it; DISPLAY names it. Virtual displays started side by side
# can race for one display number, so that openbox finds no display: then the whole start is
# tried again on a new display.
start_desktop() {
  local attempt
  for attempt in 1 2 3 4 5; do
    try_desktop "$@" && return 0
    echo "virtual desktop, attempt $attempt: $desktop_problem" >&2
    sed 's/^/  xvfb: /' "$work/xvfb.log" >&2
    sed 's/^/  openbox: /' "$work/openbox.log" >&2
  done
  fail "$desktop_problem"
}

try_desktop() {
  local size="$1" xvfb openbox
  shift
  stop_pids 0
  rm -f "$work/display"
  if [ -n "${desktop_display:-}" ]; then
    Xvfb ":$desktop_display" -screen 0 "${size}x24" "$@" -nolisten tcp 2>"$work/xvfb.log" &
    echo "$desktop_display" >"$work/display"
  else
    Xvfb -displayfd 3 -screen 0 "${size}x24" "$@" -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
  fi
  xvfb=$!
  pids+=("$xvfb")
  : >"$work/openbox.log"
  desktop_problem="no virtual display"
  wait_for '[ -s "$work/display" ] || ! kill -0 "$xvfb" 2>/dev/null' 300 && [ -s "$work/display" ] || return 1
  export DISPLAY=":$(head -n1 "$work/display")"
  desktop_problem="the virtual display did not start"
  wait_for 'xprop -root >/dev/null 2>&1 || ! kill -0 "$xvfb" 2>/dev/null' 300 && kill -0 "$xvfb" 2>/dev/null || return 1
  openbox >"$work/openbox.log" 2>&1 &
  openbox=$!
  pids+=("$openbox")
  desktop_problem="openbox did not start"
  wait_for 'wm_running || ! kill -0 "$openbox" 2>/dev/null' 300 && wm_running && kill -0 "$xvfb" 2>/dev/null
}

wm_running() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id"; }
