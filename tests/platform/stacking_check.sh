#!/usr/bin/env bash
# Owned windows under a real window manager (openbox on a virtual display): the menu and the
# panel name their owners in WM_TRANSIENT_FOR, stay out of the taskbar, and stay above the
# full-screen main window when it is clicked, activated or raised. Skipped (77) when Xvfb,
# openbox, xdotool or xprop are not installed.
set -u
probe="$1"
source "$(dirname "$0")/../support/virtual_desktop.sh"
skip_without Xvfb openbox xdotool xprop
start_desktop 1024x768

QT_QPA_PLATFORM=xcb "$probe" >"$work/probe.out" 2>"$work/probe.err" &
pids+=($!)
wait_for 'grep -q "^ready" "$work/probe.out"' || { cat "$work/probe.err"; fail "the probe did not show its windows"; }
read -r _ back menu panel <"$work/probe.out"
managed() { xprop -root _NET_CLIENT_LIST_STACKING | grep -o '0x[0-9a-f]*' | sed 's/^0x0*/0x/'; }
short() { printf '0x%x' "$1"; }
back=$(short "$back"); menu=$(short "$menu"); panel=$(short "$panel")
wait_for '[ "$(managed | grep -cE "^($back|$menu|$panel)$")" = 3 ]' || fail "openbox did not manage all three windows"

transient_of() { xprop -id "$1" WM_TRANSIENT_FOR | grep -o '0x[0-9a-f]*' | sed 's/^0x0*/0x/'; }
[ "$(transient_of "$menu")" = "$back" ] || fail "the menu is not transient for the main window"
[ "$(transient_of "$panel")" = "$menu" ] || fail "the panel is not transient for the menu"
[ -z "$(transient_of "$back")" ] || fail "the main window is transient for something"
for w in "$menu" "$panel"; do
  xprop -id "$w" _NET_WM_STATE | grep -q _NET_WM_STATE_SKIP_TASKBAR || fail "owned window $w is listed in the taskbar"
done
xprop -id "$back" _NET_WM_STATE | grep -q _NET_WM_STATE_SKIP_TASKBAR && fail "the main window is not in the taskbar"

# Bottom to top, the main window, then the menu, then the panel.
in_order() {
  local order
  order=$(managed | grep -nE "^($back|$menu|$panel)$" | cut -d: -f2 | tr '\n' ' ')
  [ "$order" = "$back $menu $panel " ]
}
active() { xprop -root _NET_ACTIVE_WINDOW | grep -o '0x[0-9a-f]*' | sed 's/^0x0*/0x/'; }

xdotool mousemove 20 20 click 1
wait_for '[ "$(active)" = "$back" ]' || fail "the click did not reach the main window"
wait_for in_order || fail "a click on the main window buried its owned windows: $(managed | tr '\n' ' ')"

xdotool windowactivate "$panel"
wait_for '[ "$(active)" = "$panel" ]' || fail "the panel could not be activated"
xdotool windowactivate "$back"
wait_for '[ "$(active)" = "$back" ]' || fail "the main window could not be activated"
wait_for in_order || fail "activating the main window buried its owned windows: $(managed | tr '\n' ' ')"

xdotool windowraise "$back"
wait_for in_order || fail "raising the main window buried its owned windows: $(managed | tr '\n' ' ')"
echo "1 passed, 0 failed"
