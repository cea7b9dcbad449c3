#!/usr/bin/env bash
# The .deb as a user of its release gets it. It is built on the release it is for (its
# dependencies and its GNOME Shell extension's form are that release's), checked with the
# validators and lintian, and started unpacked in a throw-away folder. Then it is installed into a
# fresh, bare root of that release (scripts/root.sh), so that its own dependency list alone must
# bring in what it needs; the installed program is started before anything else is installed,
# then tried on GNOME and KWin with the end-to-end tests built beside it, and removed. Last, on
# Debian 12 and 13, scripts/run.sh runs there as a newcomer runs it, on GNOME, KWin, sway and X11,
# where the program it starts captures; and, in a layer of its own, as a user who installs through
# sudo.
#
#   scripts/test-package.sh           this machine's release's, from scripts/build.sh test's build
#   scripts/test-package.sh RELEASE   RELEASE's, from its root's build (scripts/test-root.sh)
set -euo pipefail
cd "$(dirname "$0")/.."

# Where the build is: on this machine, or in the release's root.
check() {
  # One package: a build's older one may carry another version in its name.
  rm -f build/pagewick_*.deb
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
}

# Whether the program of PID comes up within SECONDS, on Qt's offscreen platform with its settings
# in CONFIG: it has once it stores them, and a failed start ends it. Its output is in CONFIG.log.
comes_up() {
  local pid=$1 config=$2 i
  for ((i = 0; i < $3 * 10; i++)); do
    [ ! -e "$config/Kelvarin/Pagewick/Option1" ] && kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  program=$(readlink "/proc/$pid/exe" || true)
  # Ended by this TERM (143), not before it.
  kill "$pid" 2>/dev/null || true
  local status=0
  wait "$pid" || status=$?
  if [ $status -ne 143 ] || [ ! -e "$config/Kelvarin/Pagewick/Option1" ]; then
    cat "$config.log" >&2
    echo "package: the program did not start (status $status)" >&2
    exit 1
  fi
}

# In a throw-away layer of the bare root, which has the network for apt.
installed() {
  # The layer is thrown away afterwards: dpkg need not sync each file it writes.
  echo force-unsafe-io > /etc/dpkg/dpkg.cfg.d/pagewick-layer
  apt-get install -y -qq --no-install-recommends ./build/pagewick_*.deb >/dev/null
  # Started with what the package brought alone: with no display, on Qt's offscreen platform.
  config=$(mktemp -d)
  XDG_CONFIG_HOME=$config QT_QPA_PLATFORM=offscreen /usr/bin/pagewick 2>"$config.log" &
  comes_up $! "$config" 60

  bash scripts/install-deps.sh e2e >/dev/null
  # The installed program on GNOME, through the extension the package carries, and on KWin, which
  # trusts it by the package's desktop entry alone. X servers listen on abstract sockets, which
  # belong to the network namespace: in a namespace of their own, the tests' cannot meet another X
  # server of the machine with the same display number.
  extension=/usr/share/gnome-shell/extensions/pagewick@kelvarin.org
  for desktop in gnome kwin; do
    PAGEWICK_E2E_BINARY=/usr/bin/pagewick PAGEWICK_E2E_WAYLAND=$desktop PAGEWICK_E2E_SHELL_EXTENSION=$extension \
      unshare --net build/e2e/e2e_wayland_program --gtest_filter=-*FirstCommand*
  done
  apt-get remove -y -qq pagewick >/dev/null
  test ! -e /usr/bin/pagewick -a ! -e /usr/lib/pagewick -a ! -e "$extension"
  # On Debian 12 and 13, the releases the README's first command is for: it builds the program again.
  case "$(. /etc/os-release && echo "$VERSION_CODENAME")" in bookworm | trixie) first_run ;; esac
}

# The first command as a newcomer runs it: scripts/run.sh from a fresh copy of the checkout, in
# each desktop's session, then a capture from Firefox with the program it started. The package is
# removed after each, so that a desktop which needs it must install it; the build is made once.
# These run as root (sudo_user tries sudo). Their sessions have no network (their X servers must
# not meet the machine's), so what the build needs comes first.
first_run() {
  bash scripts/install-deps.sh package >/dev/null
  mkdir ~/pagewick
  tar -xf build/checkout.tar -C ~/pagewick
  export PAGEWICK_E2E_RUN=~/pagewick/scripts/run.sh PAGEWICK_E2E_BINARY=/usr/bin/pagewick \
    PAGEWICK_E2E_SHELL_EXTENSION=/usr/share/gnome-shell/extensions/pagewick@kelvarin.org
  for desktop in gnome kwin sway; do
    PAGEWICK_E2E_WAYLAND=$desktop unshare --net build/e2e/e2e_wayland_program --gtest_filter='*FirstCommand*'
    dpkg --remove pagewick >/dev/null 2>&1  # where run.sh installed it
  done
  unshare --net build/e2e/e2e_program --gtest_filter='*FirstCommand*'
}

# In a throw-away layer of the bare root entered so that sudo works there (scripts/root.sh): a user
# with sudo runs it on Plasma, on a system with nothing of Pagewick's installed. run.sh installs
# what the build needs and the package through sudo and ends in the installed program. This step
# has no desktop, so the program runs on Qt's offscreen platform, where coming up is all it shows.
sudo_user() {
  apt-get install -y -qq --no-install-recommends sudo >/dev/null
  useradd --create-home newcomer
  echo 'newcomer ALL=(ALL) NOPASSWD: ALL' >/etc/sudoers.d/newcomer
  checkout=/home/newcomer/pagewick
  mkdir "$checkout"
  tar -xf build/checkout.tar -C "$checkout"
  local config
  config=$(mktemp -d)
  chown -R newcomer: "$checkout" "$config"
  setpriv --reuid=newcomer --regid=newcomer --init-groups env HOME=/home/newcomer USER=newcomer \
    XDG_CONFIG_HOME="$config" QT_QPA_PLATFORM=offscreen WAYLAND_DISPLAY=wayland-0 XDG_CURRENT_DESKTOP=KDE \
    bash "$checkout/scripts/run.sh" >"$config.log" 2>&1 &
  comes_up $! "$config" 1800
  grep -q "through sudo apt-get" "$config.log" && [ "$program" = /usr/lib/pagewick/pagewick ] || {
    cat "$config.log" >&2
    echo "package: run.sh as a user with sudo started ${program:-nothing}, not the installed program" >&2
    exit 1
  }
  echo "package: run.sh as a user with sudo installed what the build needs and the package through sudo," \
    "and started the installed program"
}

case "${1:-}" in
  check | installed | first_run | sudo_user) "$1"; exit ;;
  "") check; release=$(. /etc/os-release && echo "$VERSION_CODENAME"); build=build ;;
  *) release=$1; build=build-$1; bash scripts/root.sh "$release" bash scripts/test-package.sh check ;;
esac
git ls-files -z | tar --null -T - -cf "$build/checkout.tar"
in_layer() {  # a step in a throw-away layer of the release's bare root
  PAGEWICK_ROOT_BARE=1 PAGEWICK_ROOT_LAYER=1 PAGEWICK_ROOT_BUILD=$build \
    bash scripts/root.sh "$release" bash scripts/test-package.sh "$1"
}
in_layer installed
case $release in bookworm | trixie) PAGEWICK_ROOT_SUDO=1 in_layer sudo_user ;; esac
echo "package: built, validated, started unpacked; installed into a bare $release root, started," \
  "tried on GNOME and KWin, removed"
