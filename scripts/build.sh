#!/usr/bin/env bash
# Installs what the build needs ("build", or "test" for the tests too) and builds into build/.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh "${1:-build}"
tests=OFF
[ "${1:-build}" = test ] && tests=ON
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPAGEWICK_TESTS=$tests >/dev/null
cmake --build build -j"$(nproc)"
