#!/usr/bin/env bash
# The layers hold: each probe named layers_allowed_* builds, and each layers_upward_* does not.
# Only whether each probe builds counts, not the compiler's words.
# Usage: layers.sh <build> PROBE...
set -uo pipefail
build=$1
shift
for probe in "$@"; do
  out=$(cmake --build "$build" --target "$probe" 2>&1)
  built=$?
  case "$probe" in
    layers_allowed_*) [ $built -eq 0 ] || { printf '%s\n%s: an allowed header was not found, so the probes prove nothing\n' "$out" "$probe"; exit 1; } ;;
    layers_upward_*) [ $built -ne 0 ] || { echo "$probe: a header the layers forbid was found"; exit 1; } ;;
  esac
done
echo "the layers hold: $# probes"
