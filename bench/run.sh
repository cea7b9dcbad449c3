#!/usr/bin/env bash
# Builds and runs every benchmark; the figures in docs/performance.md come from this.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh test
b=build/bench
agg=(--benchmark_repetitions=7 --benchmark_report_aggregates_only=true)
$b/bench_settings "${agg[@]}" --benchmark_min_time=3 2>/dev/null | grep -E 'median|^Run on'
$b/bench_text1 "${agg[@]}" --benchmark_min_time=5 2>/dev/null | grep -E 'median'
$b/bench_startup 7 2>/dev/null
for desktop in "" --sway --kwin --gnome; do $b/bench_capture 15 $desktop 2>/dev/null; done
$b/bench_gnome_routes 15 2>/dev/null
