#!/usr/bin/env bash
# The layers hold for each target named: built with its own compile line, an interface header is
# found and a backend's is not. Only whether each probe builds counts, not the compiler's words.
# Usage: layers.sh <build> TARGET...
set -uo pipefail
build=$1
shift
for target in "$@"; do
  if ! out=$(cmake --build "$build" --target "layers_allowed_$target" 2>&1); then
    printf '%s\n%s: an interface header was not found, so the probe proves nothing\n' "$out" "$target"
    exit 1
  fi
  if cmake --build "$build" --target "layers_upward_$target" >/dev/null 2>&1; then
    echo "$target: a backend's header was found"
    exit 1
  fi
  echo "$target: the interface header is found, a backend's is not"
done
