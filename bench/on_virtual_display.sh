#!/usr/bin/env bash
# Runs one benchmark on a virtual X display of its own with a window manager, as a desktop
# has one: Xvfb on a free display (chosen by Xvfb itself), openbox on it, then the command.
#   bench/on_virtual_display.sh build/bench/launch_bench
#   bench/on_virtual_display.sh build/bench/zoom_bench --benchmark_filter=MouseRelease
#   bench/on_virtual_display.sh build/bench/dictionary_bench --benchmark_filter=WindowSearch
# VIRTUAL_DISPLAY=<n> asks for display :<n> instead of a free one. Ends with the command's exit
# status (1 for a benchmark that missed a bound); 77 (skipped) when Xvfb or openbox is not
# installed.
set -u
source "$(dirname "$0")/../tests/support/virtual_desktop.sh"
skip_without Xvfb openbox xprop
desktop_display="${VIRTUAL_DISPLAY:-}"
start_desktop 1024x768
unset QT_QPA_PLATFORM
"$@"
