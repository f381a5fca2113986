#!/usr/bin/env bash
# Builds the coded-file reader's fuzz target with clang (address and undefined-behaviour
# sanitizers) in build-fuzz/ and runs it. Not part of ./test.
#   tests/fuzz/run.sh [runs]      (default 1000000)
set -euo pipefail
cd "$(dirname "$0")/../.."
# clang and its libFuzzer runtime are needed for this run only.
tools/setup.sh clang libclang-rt-dev >/dev/null
cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELMORA_FUZZ=ON \
  -DCMAKE_CXX_COMPILER=clang++ \
  -DCMAKE_CXX_FLAGS="-fsanitize=address,undefined,fuzzer-no-link -fno-sanitize-recover=undefined" >/dev/null
cmake --build build-fuzz --target coded_file_fuzz
mkdir -p build-fuzz/corpus
exec build-fuzz/tests/fuzz/coded_file_fuzz -runs="${1:-1000000}" -max_len=4096 -artifact_prefix=build-fuzz/ \
  build-fuzz/corpus
