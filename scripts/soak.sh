#!/usr/bin/env bash
# The long runs of the reliability tests: 1,000 kills during saves of the text box, and ten
# minutes of each fuzzer. Prints a summary for docs/reliability.md.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh test
start=$(date +%s)
PAGEWICK_CRASH_KILLS=${KILLS:-1000} build/tests/unit_tests --gtest_filter='CrashSafety.*' | tail -1
echo "crash safety: ${KILLS:-1000} kills in $(( $(date +%s) - start )) s"
FUZZ_SECONDS=${FUZZ_SECONDS:-600} bash fuzz/run.sh
