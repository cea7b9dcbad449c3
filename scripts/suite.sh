#!/usr/bin/env bash
# Runs named suites of the tests in build/ (made by scripts/build.sh: unit for the first two,
# desktops or test for all), by default all of them; a suite that finds no test fails:
#   unit, widget (with the GNOME Shell extension's load check), and the end-to-end suites of
#   each desktop: x11, sway, labwc, kwin, gnome, and weston's refusal. labwc's is left out, and
#   said so, on Debian 12, which has no labwc.
set -euo pipefail
cd "$(dirname "$0")/../build"
# The Wayland desktops' end-to-end tests carry the desktop's name; X11's are the ones that name none.
wayland=(sway labwc kwin gnome weston)
suites=(unit widget x11 "${wayland[@]}")
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
  if [ "$suite" = labwc ] && [ "$(. /etc/os-release && echo "${VERSION_ID:-}")" = 12 ]; then
    echo "== suite labwc: not run, Debian 12 has no labwc"
    continue
  fi
  echo "== suite $suite"
  ctest "${select[@]}" --no-tests=error --output-on-failure --timeout 600
done
