#!/usr/bin/env bash
# Makes every file a release hands out, into release/ at the checkout's top, running no tests:
#   pagewick_VERSION+deb12_amd64.deb, +deb13, +sid   the package of Debian 12, 13 and unstable,
#       each built on its release: in a throw-away layer of the release's test root where
#       scripts/test.sh made one, else of its bare root with only what the build needs (the roots
#       are made through scripts/root.sh where missing)
#   pagewick-VERSION-setup.exe, pagewick-VERSION-windows.zip   the Windows program's installer and
#       portable zip, cross-built with mingw-w64
#   SHA256SUMS   of the files beside it, for `sha256sum -c`
# Each build has a folder of its own: build-release-<release>, build-release-windows.
# Usage: scripts/release.sh
set -euo pipefail
cd "$(dirname "$0")/.."
releases=(bookworm trixie sid)
roots=${PAGEWICK_ROOTS:-/var/cache/pagewick}/roots

# The package of the release this runs on, alone, into DIR (build by default, which is the
# release's build-release-<release> in its root): scripts/release.sh package [DIR]
if [ "${1:-}" = package ]; then
  build=${2:-build}
  bash scripts/install-deps.sh package >/dev/null
  rm -f "$build"/pagewick_*.deb
  cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPAGEWICK_TESTS=OFF >/dev/null
  cmake --build "$build" -j"$(nproc)"
  (cd "$build" && cpack -G DEB >/dev/null)
  exit
fi

bash scripts/install-deps.sh release
rm -rf release
mkdir release
# A release's test root if there is one, else its bare root.
bare() { [ -d "$roots/$1" ] || echo 1; }
# The roots are made or brought up to date while the Windows program builds: mostly downloads.
pids=()
for release in "${releases[@]}"; do
  mkdir -p "build-release-$release"
  PAGEWICK_ROOT_BARE=$(bare "$release") bash scripts/root.sh "$release" >"build-release-$release/root.log" 2>&1 &
  pids+=($!)
done
cmake -S . -B build-release-windows --no-warn-unused-cli -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
  -DPAGEWICK_TESTS=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build-release-windows -j"$(nproc)" --target windows-packages
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' build-release-windows/CMakeCache.txt)
files=("pagewick-$version-setup.exe" "pagewick-$version-windows.zip")
cp "${files[@]/#/build-release-windows/}" release/

for i in "${!releases[@]}"; do
  release=${releases[$i]}
  wait "${pids[$i]}" || { cat "build-release-$release/root.log" >&2; exit 1; }
  # The layer is thrown away afterwards: its dpkg need not sync each file it writes.
  PAGEWICK_ROOT_BARE=$(bare "$release") PAGEWICK_ROOT_LAYER=1 PAGEWICK_ROOT_BUILD=build-release-$release \
    bash scripts/root.sh "$release" bash -c \
    'echo force-unsafe-io > /etc/dpkg/dpkg.cfg.d/pagewick-layer && bash scripts/release.sh package'
  deb=$(cd "build-release-$release" && echo pagewick_*.deb)
  cp "build-release-$release/$deb" release/
  files+=("$deb")
done

(cd release && sha256sum -- "${files[@]}" > SHA256SUMS)
echo "release: ${files[*]} and SHA256SUMS in release/"
