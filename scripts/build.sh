#!/usr/bin/env bash
# Installs what the build needs ("build"; "desktops" or "test" for the tests too, see
# install-deps.sh) and builds into build/.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh "${1:-build}"
tests=OFF
[ "${1:-build}" != build ] && tests=ON
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPAGEWICK_TESTS=$tests >/dev/null
cmake --build build -j"$(nproc)"
