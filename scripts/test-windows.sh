#!/usr/bin/env bash
# Cross-builds the Windows program, its services' tests, its installer and what the end-to-end
# tests in build/ drive, with mingw-w64, and runs the services' tests (label win32) and the
# installer test under Wine, in a prefix and a display of their own. Arguments go to CTest.
#   scripts/test-windows.sh build  only the cross-build
#   scripts/test-windows.sh wine   in another release's root: that release's Wine runs the
#                                  installer test and the program end to end (ctest -L wine in
#                                  build/) on the Windows tree the machine built
set -euo pipefail
cd "$(dirname "$0")/.."
if [ "${1:-}" = wine ]; then
  export PAGEWICK_WINE_TREE=build
  source scripts/wine-session.sh
  echo "== $("$wine" --version)"
  bash scripts/test-installer.sh build-win
  # Wine 10 keeps the window at 96 DPI whatever LogPixels says (it gives a window aware of each
  # monitor's DPI the screen's own), so the layout test at each DPI is Wine 8's alone.
  echo "== left out under this Wine: WineTest.TheWindowIsLaidOutAtEachDpiWithEveryCaptionWhole"
  cd build && GTEST_FILTER='-*EachDpi*' ctest -L wine --no-tests=error --output-on-failure --timeout 600
  exit
fi
[ -n "${PAGEWICK_DEPS_INSTALLED:-}" ] || bash scripts/install-deps.sh windows

cmake -S . -B build-win -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DPAGEWICK_PROGRAM=ON \
  -DPAGEWICK_E2E=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build-win -j"$(nproc)"
[ "${1:-}" != build ] || exit 0

source scripts/wine-session.sh
(cd build-win && ctest -L win32 --output-on-failure --timeout "${WIN_TEST_TIMEOUT:-300}" "$@")
bash scripts/test-installer.sh build-win
