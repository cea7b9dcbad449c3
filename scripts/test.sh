#!/usr/bin/env bash
# Installs what the tests need, builds and runs them, by stages; with none named, every stage, in
# this order:
#   unit       the unit tests
#   widget     the widget tests on Qt's offscreen platform, and the GNOME Shell extension's check
#   x11 sway labwc wayfire miriway kwin gnome weston
#              the end-to-end tests on each desktop, which start their own servers and real
#              browsers (scripts/suite.sh; labwc, Wayfire and Miriway only where one that runs
#              headless is installed); on Weston, which offers no route, the refusal alone;
#              e2e names them all
#   package    the .deb built and checked, installed into a bare root of this release, started
#              and tried on GNOME and KWin, then scripts/run.sh run in each desktop's session
#              and a capture (scripts/test-package.sh)
#   windows    the Windows program cross-built with mingw-w64, its services' tests and its
#              installer test under Wine (scripts/test-windows.sh), then the program end to end
#   sanitize   the unit and widget tests again under AddressSanitizer and UndefinedBehaviorSanitizer
#   fuzz       each fuzzer briefly; scripts/soak.sh runs them for ten minutes each
#   bench      the capture and clipboard benchmarks on each desktop, each figure against its
#              baseline in the same run (bench/run.sh --check), once the roots are made
#   trixie sid the Linux tests and the package test again on Debian 13 and on Debian unstable, each
#              in a root of its own (scripts/test-root.sh), made in the background from the start;
#              in Debian 13's, also the Windows program under its Wine 10
# Usage: scripts/test.sh [STAGE...]
#
# The words the scripts share, each for one thing:
#   stage        a part of this run, named as above
#   suite        a set of CTest tests scripts/suite.sh runs in a built tree: unit, widget and one
#                per desktop; the stages of the same names run them
#   label        what CTest marks a test's kind with: unit, widget, extension, e2e, wine, win32
#   build mode   what scripts/build.sh builds into build/: build (the program), unit (with its unit
#                and widget tests), desktops (with the end-to-end tests), test (with the benchmarks)
#   package set  what scripts/install-deps.sh installs: build, package, desktops, e2e (the desktops'
#                own packages alone), test, windows, release, roots
#   root         a Debian system of another release (scripts/root.sh); a bare root has
#                debootstrap's packages alone, a layer is a throw-away overlay on a root
set -euo pipefail
cd "$(dirname "$0")/.."
read -ra suites <<<"$(bash scripts/suite.sh --list)"
desktops=("${suites[@]:2}")  # after unit and widget
stages=(unit widget "${desktops[@]}" package windows sanitize fuzz bench trixie sid)
[ $# -gt 0 ] || set -- "${stages[@]}"
declare -A chosen
for stage in "$@"; do
  case " e2e ${stages[*]} " in
    *" $stage "*) ;;
    *) echo "unknown stage $stage; the stages are ${stages[*]}, and e2e for the desktops" >&2; exit 2 ;;
  esac
  if [ "$stage" = e2e ]; then
    for desktop in "${desktops[@]}"; do chosen[$desktop]=1; done
  else
    chosen[$stage]=1
  fi
done
on() {  # whether any of the stages named is chosen
  local stage
  for stage in "$@"; do [ -z "${chosen[$stage]:-}" ] || return 0; done
  return 1
}

# The packages once for every stage chosen (the roots install their own), and the build of
# build/ that covers them; the benchmarks are built when every stage runs.
deps="" build=""
if on windows bench; then deps=test
elif on unit widget "${desktops[@]}" package sanitize fuzz; then deps=desktops
fi
if [ ${#chosen[@]} -eq ${#stages[@]} ]; then build=test
elif on "${desktops[@]}" package windows; then build=desktops
elif on unit widget; then build=unit
fi
if [ -n "$deps" ]; then
  bash scripts/install-deps.sh "$deps"
  export PAGEWICK_DEPS_INSTALLED=1
fi

# The roots are made, or brought up to date, while Debian 12 builds: mostly downloads. A release's
# bare root, where its package is installed, comes after its test root, whose downloads it shares;
# this machine's release needs only the bare one, for the package stage.
own=$(. /etc/os-release && echo "$VERSION_CODENAME")
bare() { PAGEWICK_ROOT_BARE=1 bash scripts/root.sh "$1"; }
mkdir -p build
declare -A roots
for release in trixie sid "$own"; do
  [ -z "${roots[$release]:-}" ] || continue
  if on "$release"; then
    { bash scripts/root.sh "$release" && bare "$release"; } >"build/root-$release.log" 2>&1 &
  elif [ "$release" = "$own" ] && on package; then
    bare "$release" >"build/root-$release.log" 2>&1 &
  else
    continue
  fi
  roots[$release]=$!
done
ready() {  # waits for a release's roots, if they are being made
  [ -n "${roots[$1]:-}" ] || return 0
  wait "${roots[$1]}" || { cat "build/root-$1.log"; exit 1; }
  unset "roots[$1]"
}
if [ -n "$build" ]; then bash scripts/build.sh "$build"; fi

suites=()
for suite in unit widget "${desktops[@]}"; do
  if on "$suite"; then suites+=("$suite"); fi
done
if [ ${#suites[@]} -gt 0 ]; then bash scripts/suite.sh "${suites[@]}"; fi
if on package; then
  ready "$own"
  bash scripts/test-package.sh
fi
if on windows; then
  bash scripts/test-windows.sh
  (cd build && ctest -L wine --no-tests=error --output-on-failure --timeout 600)
fi
if on sanitize; then
  cmake -S . -B build-sanitize -DPAGEWICK_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug >/dev/null
  cmake --build build-sanitize -j"$(nproc)" --target unit_tests widget_tests
  (cd build-sanitize && ctest -L 'unit|widget' --no-tests=error --output-on-failure --timeout 600)
fi
if on fuzz; then bash fuzz/run.sh; fi
if on bench; then
  for release in trixie sid; do ready "$release"; done  # their downloads and installs would be in the figures
  bash bench/run.sh --check
fi
for release in trixie sid; do
  if on "$release"; then
    ready "$release"
    bash scripts/test-root.sh "$release"
  fi
done
