#!/usr/bin/env bash
# Builds and runs every benchmark; the figures in docs/performance.md come from this.
#
#   bench/run.sh --check
#
# runs only the capture and clipboard benchmarks, on each desktop this machine has, and fails when
# a ratio passes its bound: a capture's wall time over 1.15 × its pauses or its CPU over 5 % of it;
# a 10 MB clipboard read over 1.5 × `xclip -o` or `wl-paste`, or over 2 × Mutter's own read on
# GNOME. Ratios, not times: each figure is taken beside its baseline in the same run. A desktop
# whose figures pass a bound is measured once more before it fails, as the machine may be busy.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh test
b=build/bench
if [ "${1:-}" != --check ]; then
  agg=(--benchmark_repetitions=7 --benchmark_report_aggregates_only=true)
  $b/bench_settings "${agg[@]}" --benchmark_min_time=3 2>/dev/null | grep -E 'median|^Run on'
  $b/bench_text1 "${agg[@]}" --benchmark_min_time=5 2>/dev/null | grep -E 'median'
  $b/bench_startup 7 2>/dev/null
  for desktop in "" --sway --kwin --gnome; do $b/bench_capture 15 $desktop 2>/dev/null; done
  $b/bench_gnome_routes 15 2>/dev/null
  exit 0
fi

# Prints the benchmark's output and then one line per bound passed; fails when there was one.
within() {
  awk '
    { print }
    /^capture wall time:/ { if ($4 > 0.460) bad = bad "capture " $4 " s, over 1.15 x 0.400 s\n" }
    /^CPU during a capture:/ { if ($5 > 5) bad = bad "CPU " $5 " %, over 5 %\n" }
    /^10 MB clipboard read:.*ratio/ { r = $NF; gsub(/[()]/, "", r); if (r > 1.5) bad = bad "clipboard read at " r " x its baseline, over 1.5\n" }
    /^10 MB clipboard read: extension/ { r = $6 / $9; if (r > 2) bad = bad sprintf("clipboard read at %.2f x Mutter'"'"'s, over 2\n", r) }
    END { printf "%s", bad; exit bad != "" }'
}
have() { command -v "$1" >/dev/null; }
checks=(bench_capture@)
have sway && checks+=(bench_capture@--sway)
have kwin_wayland && checks+=(bench_capture@--kwin)
have gnome-shell && checks+=(bench_capture@--gnome bench_gnome_routes@)
failed=0
for check in "${checks[@]}"; do
  program=${check%@*} desktop=${check#*@}
  echo "== $program $desktop"
  args=(11)
  [ -z "$desktop" ] || args+=("$desktop")
  $b/"$program" "${args[@]}" 2>/dev/null | within && continue
  echo "-- once more"
  $b/"$program" "${args[@]}" 2>/dev/null | within || failed=1
done
exit $failed
