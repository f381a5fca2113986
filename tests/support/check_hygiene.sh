#!/usr/bin/env bash
# Fails when a test waits on the wall clock or uses Qt's test macros inside GoogleTest.
dir="$1"
hits=$(grep -rnE 'qWait\(|QThread::(m|)sleep|usleep\(|std::this_thread::sleep|QVERIFY|QCOMPARE' "$dir" \
  --include='*.cpp' --include='*.h' | grep -v 'check_hygiene')
if [ -n "$hits" ]; then
  echo "$hits"
  exit 1
fi
echo "1 passed, 0 failed"
