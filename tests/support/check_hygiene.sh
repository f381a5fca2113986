#!/usr/bin/env bash
# Fails when a test waits on the wall clock or uses Qt's test macros inside GoogleTest, and when
# production code calls a window by a method or control name string (Forms::Invoke,
# Forms::Control, invokeMethod with a method name): windows call each other through their class
# or through an interface of an earlier folder.
dir="$1"
hits=$(grep -rnE 'qWait\(|QThread::(m|)sleep|usleep\(|std::this_thread::sleep|QVERIFY|QCOMPARE' "$dir" \
  --include='*.cpp' --include='*.h' | grep -v 'check_hygiene')
root=$(cd "$dir/.." && pwd)
tests=$(cd "$dir" && pwd)
for folder in "$root"/*/; do
  folder=${folder%/}
  # Source folders have a CMakeLists.txt; build trees and the tests do not count.
  [ -f "$folder/CMakeLists.txt" ] && [ "$folder" != "$tests" ] || continue
  found=$(grep -rnE 'Forms::(Invoke|Control)\b|invokeMethod\([^,]*,[[:space:]]*"' "$folder" \
    --include='*.cpp' --include='*.h')
  [ -n "$found" ] && hits+=$'\n'"$found"
done
hits=$(printf '%s' "$hits" | sed '/^$/d')
if [ -n "$hits" ]; then
  echo "$hits"
  exit 1
fi
echo "1 passed, 0 failed"
