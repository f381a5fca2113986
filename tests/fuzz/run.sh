#!/usr/bin/env bash
# Builds the fuzz targets with clang (address and undefined-behaviour sanitizers) in
# build-fuzz/ and runs them one after the other. Not part of ./test.
#   tests/fuzz/run.sh [runs] [target...]
# runs: inputs per target (default 1000000); FUZZ_SECONDS=<n> limits each target by time
# instead. targets: coded_file_fuzz, online_cache_fuzz, html_to_rtf_fuzz, chat_datagram_fuzz,
# rtf_reader_fuzz (default all).
set -euo pipefail
cd "$(dirname "$0")/../.."
runs="${1:-1000000}"
shift || true
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(coded_file_fuzz online_cache_fuzz html_to_rtf_fuzz chat_datagram_fuzz rtf_reader_fuzz)
# clang and its libFuzzer runtime are needed for this run only.
tools/setup.sh clang libclang-rt-dev >/dev/null
cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELMORA_FUZZ=ON \
  -DCMAKE_CXX_COMPILER=clang++ \
  -DCMAKE_CXX_FLAGS="-fsanitize=address,undefined,fuzzer-no-link -fno-sanitize-recover=undefined" >/dev/null
cmake --build build-fuzz --target "${targets[@]}"
limit=(-runs="$runs")
[ -z "${FUZZ_SECONDS:-}" ] || limit=(-max_total_time="$FUZZ_SECONDS")
for target in "${targets[@]}"; do
  corpus="build-fuzz/corpus/$target"
  mkdir -p "$corpus"
  seeds=tests/fuzz/seeds/$target
  [ -d "$seeds" ] || seeds=
  extra=()
  for dict in "tests/fuzz/$target.dict" "tests/fuzz/${target%_fuzz}.dict"; do
    if [ -f "$dict" ]; then extra=(-dict="$dict"); fi
  done
  build-fuzz/tests/fuzz/$target "${limit[@]}" -max_len=4096 -artifact_prefix="build-fuzz/$target-" \
    "${extra[@]}" "$corpus" $seeds
done
