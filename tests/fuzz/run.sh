#!/usr/bin/env bash
# Builds the coded-file reader's fuzz target with clang (address and undefined-behaviour
# sanitizers) in build-fuzz/ and runs it. Not part of ./test.
#   tests/fuzz/run.sh [runs]      (default 1000000)
set -euo pipefail
cd "$(dirname "$0")/../.."
tools/setup.sh >/dev/null
# clang and its libFuzzer runtime are needed for this run only, so they are installed here.
missing=()
for p in clang libclang-rt-dev; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  $SUDO apt-get update
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y --no-install-recommends "${missing[@]}"
fi
cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELMORA_FUZZ=ON \
  -DCMAKE_CXX_COMPILER=clang++ \
  -DCMAKE_CXX_FLAGS="-fsanitize=address,undefined,fuzzer-no-link -fno-sanitize-recover=undefined" >/dev/null
cmake --build build-fuzz --target coded_file_fuzz
mkdir -p build-fuzz/corpus
exec build-fuzz/tests/fuzz/coded_file_fuzz -runs="${1:-1000000}" -max_len=4096 -artifact_prefix=build-fuzz/ \
  build-fuzz/corpus
