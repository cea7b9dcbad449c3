#!/usr/bin/env bash
# Installs what the build needs and builds into build/, by what the build is for:
#   build      the program (the default)
#   unit       the program, its unit and widget tests
#   desktops   all that, and the end-to-end tests on the desktops
#   test       all that, and the benchmarks (the Windows build is scripts/test-windows.sh's)
# The packages are scripts/install-deps.sh's set of the same name ("desktops" for unit, the least
# that has GoogleTest), unless PAGEWICK_DEPS_INSTALLED says scripts/test.sh installed them.
set -euo pipefail
cd "$(dirname "$0")/.."
mode=${1:-build}
deps=$mode tests=ON e2e=OFF bench=OFF
case "$mode" in
  build) tests=OFF ;;
  unit) deps=desktops ;;
  desktops) e2e=ON ;;
  test) e2e=ON bench=ON ;;
  *) echo "usage: $0 [build|unit|desktops|test]" >&2; exit 2 ;;
esac
[ -n "${PAGEWICK_DEPS_INSTALLED:-}" ] || bash scripts/install-deps.sh "$deps"
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPAGEWICK_TESTS=$tests -DPAGEWICK_E2E=$e2e \
  -DPAGEWICK_BENCH=$bench >/dev/null
cmake --build build -j"$(nproc)"
