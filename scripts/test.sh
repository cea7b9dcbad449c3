#!/usr/bin/env bash
# Installs, builds and runs every test: unit and widget tests, then the end-to-end tests, which
# start their own X servers and real browsers; then the .deb package is built, installed, started
# and removed; then the Windows program is cross-built with mingw-w64, its services tested under
# Wine, its installer built, installed and removed, and the program driven end to end under Wine;
# then the unit and widget tests run once more under AddressSanitizer and
# UndefinedBehaviorSanitizer, and each fuzzer briefly. Last, the Linux tests and the package test
# again on Debian 13 and on Debian unstable, each in a root of its own (scripts/test-root.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh test
# The roots are made, or brought up to date, while Debian 12 builds: mostly downloads.
mkdir -p build
declare -A roots
for release in trixie sid; do
  bash scripts/root.sh "$release" > "build/root-$release.log" 2>&1 &
  roots[$release]=$!
done
bash scripts/build.sh test
(cd build && ctest -LE wine --output-on-failure --timeout 600)
bash scripts/test-package.sh
bash scripts/test-windows.sh
(cd build && ctest -L wine --output-on-failure --timeout 600)

cmake -S . -B build-sanitize -DPAGEWICK_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build build-sanitize -j"$(nproc)" --target unit_tests widget_tests
cd build-sanitize
ctest -L 'unit|widget' --output-on-failure --timeout 600

# A short run of each fuzzer; scripts/soak.sh runs them for ten minutes each.
cd ..
bash fuzz/run.sh

for release in trixie sid; do
  wait "${roots[$release]}" || { cat "build/root-$release.log"; exit 1; }
  bash scripts/test-root.sh "$release"
done
