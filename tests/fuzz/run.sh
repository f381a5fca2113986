#!/usr/bin/env bash
# Builds a fuzz target with clang (address and undefined-behaviour sanitizers) in build-fuzz/
# and runs it. Not part of ./test.
#   tests/fuzz/run.sh [runs] [target]   (default 1000000 runs of coded_file_fuzz)
# Targets: coded_file_fuzz (coded-file reader), html_to_rtf_fuzz (on-line result page reader).
# A target's <name>.dict beside this script, when present, is handed to the fuzzer.
set -euo pipefail
cd "$(dirname "$0")/../.."
target="${2:-coded_file_fuzz}"
# clang and its libFuzzer runtime are needed for this run only.
tools/setup.sh clang libclang-rt-dev >/dev/null
cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELMORA_FUZZ=ON \
  -DCMAKE_CXX_COMPILER=clang++ \
  -DCMAKE_CXX_FLAGS="-fsanitize=address,undefined,fuzzer-no-link -fno-sanitize-recover=undefined" >/dev/null
cmake --build build-fuzz --target "$target"
corpus=build-fuzz/corpus
[ "$target" = coded_file_fuzz ] || corpus="build-fuzz/corpus-$target"
mkdir -p "$corpus"
options=(-runs="${1:-1000000}" -max_len=4096 -artifact_prefix=build-fuzz/)
dict="tests/fuzz/${target%_fuzz}.dict"
[ -f "$dict" ] && options+=(-dict="$dict")
exec "build-fuzz/tests/fuzz/$target" "${options[@]}" "$corpus"
