#!/usr/bin/env bash
# The long runs of the reliability tests: 1,000 kills during saves of the text box, every power-cut
# state of 60 saves, and ten minutes of each fuzzer. Prints a summary for docs/reliability.md.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh test
start=$(date +%s)
PAGEWICK_CRASH_KILLS=${KILLS:-1000} PAGEWICK_REPLAY_SAVES=${SAVES:-60} \
  build/tests/unit_tests --gtest_filter='CrashSafety.*' --gtest_output=xml:build/soak.xml | tail -1
echo "crash safety: ${KILLS:-1000} kills and ${SAVES:-60} replayed saves in $(( $(date +%s) - start )) s"
grep -o 'name="crash_states" value="[0-9]*"' build/soak.xml
FUZZ_SECONDS=${FUZZ_SECONDS:-600} bash fuzz/run.sh
