#!/usr/bin/env bash
# Runs the end-to-end suites again and again while stress-ng keeps every core busy, and counts how
# many runs of each suite passed: a test that needs an idle machine is a flaky test.
#
#   scripts/under-load.sh [runs] [pattern]
#
# runs defaults to 20; pattern (a CTest -R expression) picks suites among the e2e and Wine program
# tests in build/ and the Windows services' tests in build-win/, all by default; ./scripts/test.sh
# builds both trees. The output of each failed run is kept in
# build/under-load/.
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-20}
pattern=${2:-.}
[ -n "${PAGEWICK_DEPS_INSTALLED:-}" ] || bash scripts/install-deps.sh test
logs=$PWD/build/under-load
rm -rf "$logs"
mkdir -p "$logs"

stress-ng --cpu "$(nproc)" --quiet &
load=$!
trap 'kill "$load" 2>/dev/null || true' EXIT
declare -A passed skipped ran
# Runs one CTest tree's share and counts its results; the tree's own log is kept when one failed.
count() {
  local tree=$1 labels=$2 run=$3 log
  log="$logs/$(basename "$tree")-run$run.log"
  (cd "$tree" && ctest -L "$labels" -R "$pattern" --output-on-failure --timeout 600) >"$log" 2>&1 || true
  while read -r name result; do
    ran[$name]=$(( ${ran[$name]:-0} + 1 ))
    [ "$result" = Passed ] && passed[$name]=$(( ${passed[$name]:-0} + 1 ))
    [ "$result" = Skipped ] && skipped[$name]=$(( ${skipped[$name]:-0} + 1 ))
  done < <(sed -n 's/^ *[0-9]*\/[0-9]* Test *#[0-9]*: \([^ ]*\) .*\(Passed\|Skipped\|Failed\|Timeout\|Exception\).*/\1 \2/p' "$log")
  if ! grep -qE '\*\*\*(Failed|Timeout|Exception)|Errors while running' "$log"; then rm -f "$log"; fi
}

if [ -f build-win/CTestTestfile.cmake ] && (cd build-win && ctest -N -L win32 -R "$pattern" | grep -q 'Total Tests: [1-9]'); then
  (
    # The Windows services' tests need a Wine prefix and a display, which this sources.
    source scripts/wine-session.sh
    for run in $(seq "$runs"); do count build-win win32 "$run"; done
    declare -p passed skipped ran >"$logs/win.counts"
  )
  source "$logs/win.counts"
fi
for run in $(seq "$runs"); do count build 'e2e|wine' "$run"; done

# A skipped run is neither a pass nor a failure; it is counted, and shown.
printf '%-45s %s\n' suite 'passed/runs'
for name in $(printf '%s\n' "${!ran[@]}" | sort); do
  printf '%-45s %s/%s%s\n' "$name" "${passed[$name]:-0}" "${ran[$name]}" \
    "$([ -z "${skipped[$name]:-}" ] || echo ", skipped in ${skipped[$name]}")"
done
for name in "${!ran[@]}"; do
  [ $(( ${passed[$name]:-0} + ${skipped[$name]:-0} )) -eq "${ran[$name]}" ] || { echo "failed runs' output: $logs" >&2; exit 1; }
done
