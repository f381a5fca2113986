#!/usr/bin/env bash
# The real-sound test programs on a learner's desktop: a display (DISPLAY set, a virtual one with
# openbox) and a D-Bus session bus of its own, as a desktop session has, with two programs
# running at once, each with its private sound server. Neither may skip or fail: a skip here is
# a sound server that did not start for a reason of ours. Skipped (77) when Xvfb, openbox or
# dbus-daemon are not installed.
#   sound_servers_on_desktop.sh <audio_sink_suite> <audio_server_loss_suite>
set -u
sink_suite="$1"
loss_suite="$2"
source "$(dirname "$0")/../support/virtual_desktop.sh"
skip_without Xvfb openbox dbus-daemon pulseaudio
start_desktop 1024x768

dbus-daemon --session --nofork --print-address=3 3>"$work/bus" 2>"$work/bus.err" &
pids+=($!)
wait_for '[ -s "$work/bus" ]' || { cat "$work/bus.err"; fail "no session bus"; }
DBUS_SESSION_BUS_ADDRESS=$(head -n1 "$work/bus")
export DBUS_SESSION_BUS_ADDRESS

QT_QPA_PLATFORM=offscreen "$sink_suite" --gtest_filter='*ARealWavPlays*' >"$work/sink.out" 2>&1 &
sink=$!
QT_QPA_PLATFORM=offscreen "$loss_suite" >"$work/loss.out" 2>&1 &
loss=$!
wait "$sink"
sink_status=$?
wait "$loss"
loss_status=$?
for run in sink loss; do
  status_name="${run}_status"
  if [ "${!status_name}" != 0 ] || grep -q '^\[  SKIPPED \]' "$work/$run.out" || ! grep -q '^\[  PASSED  \] 1 test' "$work/$run.out"; then
    cat "$work/$run.out"
    fail "the $run program did not pass on the desktop (exit status ${!status_name})"
  fi
done
echo "both real-sound programs passed side by side on $DISPLAY with a session bus"
