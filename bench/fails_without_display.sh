#!/usr/bin/env bash
# The benchmarks that need an X display, run without one, must fail (exit status 1), since
# they measured nothing; each ends before it does any work.
#   bench/fails_without_display.sh build/bench
set -u
dir="$1"
failures=0
expect_failure() {
  env -u DISPLAY -u WAYLAND_DISPLAY "$@" >/dev/null 2>&1
  local status=$?
  if [ "$status" -ne 1 ]; then
    echo "FAILED: $* without a display ended with exit status $status, not 1"
    failures=$((failures + 1))
  fi
}
expect_failure "$dir/launch_bench"
expect_failure "$dir/zoom_bench" --benchmark_filter=MouseRelease
expect_failure "$dir/dictionary_bench" --benchmark_filter=WindowSearch
[ "$failures" -eq 0 ] && echo "3 passed, 0 failed"
exit $((failures > 0))
