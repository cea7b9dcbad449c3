#!/usr/bin/env bash
# Builds the .deb, checks it with the validators and lintian, unpacks it into a throw-away root and
# starts the program from there under a private X server. Needs the build of scripts/build.sh test.
# The package is built on the release it is for (scripts/test-root.sh runs this in a root of
# Debian 13 or unstable): its dependencies and its GNOME Shell extension's form are that release's.
#
# Only where CI is set (a throw-away machine, or a root's throw-away layer) is the package also
# installed system-wide, tried on GNOME and KWin, and removed again: on a developer's machine that
# would replace, then remove, their own Pagewick.
set -euo pipefail
cd "$(dirname "$0")/.."

(cd build && cpack -G DEB >/dev/null)
deb=$(ls build/pagewick_*.deb)
lintian --fail-on error,warning "$deb"

root=$(mktemp -d /tmp/pagewick-package.XXXXXX)
trap 'rm -rf "$root"' EXIT
dpkg-deb -x "$deb" "$root"
desktop-file-validate "$root/usr/share/applications/org.kelvarin.Pagewick.desktop"
appstreamcli validate --no-net "$root/usr/share/metainfo/org.kelvarin.Pagewick.metainfo.xml"
test -x "$root/usr/lib/pagewick/pagewick" -a -f "$root/usr/lib/pagewick/HAND-M.CUR"
test "$(readlink -f "$root/usr/bin/pagewick")" = "$(readlink -f "$root/usr/lib/pagewick/pagewick")"
# The GNOME Shell extension, answering the installed program only.
extension="$root/usr/share/gnome-shell/extensions/pagewick@kelvarin.org"
test -f "$extension/extension.js" -a -f "$extension/metadata.json"
test "$(cat "$extension/callers")" = /usr/lib/pagewick/pagewick
# Through the command's link, as a user starts it: the program finds its side files beside its
# real location.
PAGEWICK_E2E_BINARY="$root/usr/bin/pagewick" build/e2e/e2e_program --gtest_filter='*StartsWithoutComplaint*'

if [ -n "${CI:-}" ]; then
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo=sudo
  $sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "./$deb" >/dev/null
  PAGEWICK_E2E_BINARY=/usr/bin/pagewick build/e2e/e2e_program --gtest_filter='*StartsWithoutComplaint*'
  # The installed program on GNOME, through the extension the package carries, and on KWin, which
  # trusts it by the package's desktop entry alone.
  for desktop in gnome kwin; do
    PAGEWICK_E2E_BINARY=/usr/bin/pagewick PAGEWICK_E2E_WAYLAND=$desktop \
      PAGEWICK_E2E_SHELL_EXTENSION=/usr/share/gnome-shell/extensions/pagewick@kelvarin.org \
      build/e2e/e2e_wayland_program
  done
  $sudo env DEBIAN_FRONTEND=noninteractive apt-get remove -y -qq pagewick >/dev/null
  test ! -e /usr/bin/pagewick -a ! -e /usr/lib/pagewick
  echo "package: built, validated, started from a throw-away root, installed, tried on GNOME and KWin, removed"
else
  echo "package: built, validated and started from a throw-away root (set CI=1 to install it system-wide too)"
fi
