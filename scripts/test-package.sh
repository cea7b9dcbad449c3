#!/usr/bin/env bash
# Builds the .deb, checks it with the validators and lintian, installs it, starts the installed
# program under a private X server, and removes it again. Needs the build of scripts/build.sh test.
set -euo pipefail
cd "$(dirname "$0")/.."
sudo=""
[ "$(id -u)" -eq 0 ] || sudo=sudo

(cd build && cpack -G DEB >/dev/null)
deb=$(ls build/pagewick_*.deb)
lintian --fail-on error,warning "$deb"
$sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "./$deb" >/dev/null
desktop-file-validate /usr/share/applications/org.kelvarin.Pagewick.desktop
appstreamcli validate --no-net /usr/share/metainfo/org.kelvarin.Pagewick.metainfo.xml
test -x /usr/lib/pagewick/pagewick -a -f /usr/lib/pagewick/HAND-M.CUR -a -L /usr/bin/pagewick
PAGEWICK_E2E_BINARY=/usr/bin/pagewick build/e2e/e2e_program --gtest_filter='*StartsWithoutComplaint*'
$sudo env DEBIAN_FRONTEND=noninteractive apt-get remove -y -qq pagewick >/dev/null
test ! -e /usr/bin/pagewick -a ! -e /usr/lib/pagewick
echo "package: built, validated, installed, started and removed"
