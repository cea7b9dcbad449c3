#!/usr/bin/env bash
# Cross-builds the Windows program, its services' tests, its installer and what the end-to-end
# tests in build/ drive, with mingw-w64, and runs the services' tests (label win32) and the
# installer test under Wine, in a prefix and a display of their own. Arguments go to CTest.
set -euo pipefail
cd "$(dirname "$0")/.."
[ -n "${PAGEWICK_DEPS_INSTALLED:-}" ] || bash scripts/install-deps.sh windows

cmake -S . -B build-win -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DPAGEWICK_PROGRAM=ON \
  -DPAGEWICK_E2E=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build-win -j"$(nproc)"

source scripts/wine-session.sh
(cd build-win && ctest -L win32 --output-on-failure --timeout "${WIN_TEST_TIMEOUT:-300}" "$@")
bash scripts/test-installer.sh build-win
