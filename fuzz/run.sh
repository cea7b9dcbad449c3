#!/usr/bin/env bash
# Builds the fuzzers with clang and runs each for FUZZ_SECONDS (10 by default, a smoke run).
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${FUZZ_SECONDS:-10}
targets=(keys boolean dialogfilter text1)
cmake -S . -B build-fuzz -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DPAGEWICK_FUZZ=ON -DPAGEWICK_TESTS=OFF >/dev/null
cmake --build build-fuzz -j"$(nproc)" --target "${targets[@]/%/_fuzz}" >/dev/null
for target in "${targets[@]}"; do
  corpus=build-fuzz/corpus-$target
  mkdir -p "$corpus"
  # The text box's fuzzer keeps Qt alive to the end; Qt's caches are not leaks.
  leaks=1
  [ "$target" = text1 ] && leaks=0
  ASAN_OPTIONS=detect_leaks=$leaks QT_QPA_PLATFORM=offscreen build-fuzz/fuzz/${target}_fuzz "$corpus" -max_total_time="$seconds" -max_len=512 \
    -artifact_prefix=build-fuzz/ \
    -detect_leaks=$leaks \
    -print_final_stats=1 2>&1 | grep -E 'stat::number_of_executed_units|ERROR|SUMMARY' | sed "s/^/$target: /"
done
echo "fuzzing: no findings"
