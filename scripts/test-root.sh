#!/usr/bin/env bash
# The Linux tests on another Debian release, in a root of its own made by scripts/root.sh: the
# build, then the named suites, by default all of them:
#   each suite of scripts/suite.sh --list, and
#   package                                 (scripts/test-package.sh: the package built in the
#                                            root, installed into a bare root of the release,
#                                            tried on GNOME and KWin)
#   windows                                 (scripts/test-windows.sh wine: the release's Wine
#                                            runs the installer test and the Windows program end
#                                            to end, on the machine's build-win/); by default in
#                                            Debian 13's root only, whose Wine 10 stands beside
#                                            Debian 12's Wine 8
# Usage: scripts/test-root.sh RELEASE [SUITE...]
set -euo pipefail
cd "$(dirname "$0")/.."
release=${1:?usage: $0 RELEASE [SUITE...]}
shift
[ $# -gt 0 ] || set -- $(bash scripts/suite.sh --list) package $([ "$release" != trixie ] || echo windows)
# Each step says how long it took, for planning CI's time.
step() {
  local start=$SECONDS
  "$@"
  echo "== $release: $step took $((SECONDS - start)) s"
}
step=build step bash scripts/root.sh "$release" bash scripts/build.sh desktops
for suite in "$@"; do
  if [ "$suite" = package ]; then
    step=package step bash scripts/test-package.sh "$release"
  elif [ "$suite" = windows ]; then
    [ -f build-win/CMakeCache.txt ] || bash scripts/test-windows.sh build
    step=windows step bash scripts/root.sh "$release" bash scripts/test-windows.sh wine
  else
    step=$suite step bash scripts/root.sh "$release" bash scripts/suite.sh "$suite"
  fi
done
