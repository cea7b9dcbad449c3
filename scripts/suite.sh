#!/usr/bin/env bash
# Runs named suites of the tests in build/ (made by scripts/build.sh: unit for the first two,
# desktops or test for all), by default all of them; a suite that finds no test fails:
#   unit, widget (with the GNOME Shell extension's load check), and the end-to-end suites of
#   each desktop: x11, sway, labwc, wayfire, miriway, kwin, gnome, and weston (its refusal).
#   labwc's, Wayfire's and Miriway's run where scripts/install-deps.sh installs them (labwc from
#   Debian 13 on, Wayfire and Miriway on unstable, the first whose Wayfire runs headless);
#   elsewhere they are left out, and said so.
# scripts/suite.sh --list names the suites.
set -euo pipefail
# The Wayland desktops' end-to-end tests carry the desktop's name; X11's are the ones that name none.
wayland=(sway labwc wayfire miriway kwin gnome weston)
suites=(unit widget x11 "${wayland[@]}")
if [ "${1:-}" = --list ]; then echo "${suites[*]}"; exit; fi
cd "$(dirname "$0")/../build"
# A Wayfire before 0.10 draws only through a GPU, which the tests' headless sessions lack.
runs_here() {
  case "$1" in
    labwc) command -v labwc ;;
    wayfire) dpkg --compare-versions "$(dpkg-query -W -f='${Version}' wayfire 2>/dev/null)" ge 0.10 ;;
    # Headless, Mir draws on its virtual display, a package of its own.
    miriway) command -v miriway-shell && dpkg-query -W mir-platform-graphics-virtual ;;
  esac >/dev/null
}
[ $# -gt 0 ] || set -- "${suites[@]}"
for suite in "$@"; do
  case "$suite" in
    unit) select=(-L unit) ;;
    widget) select=(-L 'widget|extension') ;;
    x11) select=(-L e2e -E "\\.($(IFS='|'; echo "${wayland[*]}"))(\\.|\$)") ;;
    *)
      [[ " ${wayland[*]} " == *" $suite "* ]] || { echo "unknown suite $suite; the suites are ${suites[*]}" >&2; exit 2; }
      select=(-L e2e -R "\\.$suite(\\.|\$)")
      ;;
  esac
  if ! runs_here "$suite"; then
    echo "== suite $suite: not run, $(. /etc/os-release && echo "$PRETTY_NAME") has no $suite that runs here"
    continue
  fi
  echo "== suite $suite"
  ctest "${select[@]}" --no-tests=error --output-on-failure --timeout 600
done
