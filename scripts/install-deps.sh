#!/usr/bin/env bash
# Installs the Debian packages Pagewick needs, on Debian 12, 13 and unstable. "build" is enough to
# build and run the program; "desktops" adds the tests' own tools and what the Linux tests drive
# ("e2e" alone, for running end-to-end tests built elsewhere): an X server, a window manager, the
# Wayland compositors and two real browsers, and stress-ng to load the cores for runs under load;
# "test" adds everything "windows" needs too. "windows" is the mingw-w64 cross compiler, Wine and
# a display for it.
set -euo pipefail
what=${1:-build}
# The wlroots protocol descriptions come with a Rust crate's sources, in a crate of their own
# from Debian 13 on.
. /etc/os-release
wlr_protocols=librust-wayland-protocols-wlr-dev
[ "${VERSION_ID:-}" = 12 ] && wlr_protocols=librust-wayland-protocols-dev

build=(cmake g++ make pkg-config qt6-base-dev qt6-qpa-plugins libqt6test6 libgl-dev
       libx11-dev libxtst-dev libwayland-dev libwayland-bin "$wlr_protocols" plasma-wayland-protocols
       wayland-protocols
       fonts-liberation2 xdg-utils)
test=(googletest libgtest-dev libgmock-dev libbenchmark-dev clang libclang-rt-dev dpkg-dev
      desktop-file-utils appstream lintian locales)
e2e=(xvfb xauth openbox x11-utils x11-xkb-utils xdotool xclip imagemagick firefox-esr chromium sway
     xwayland x11-xserver-utils wl-clipboard kwin-wayland gnome-shell gjs dbus-daemon libglib2.0-bin
     grim stress-ng)
# labwc, the wlroots desktop the tests run beside sway, came with Debian 13.
[ "${VERSION_ID:-}" = 12 ] || e2e+=(labwc)
# The roots of other Debian releases that scripts/test.sh tests in.
roots=(debootstrap bubblewrap)
windows=(cmake make googletest g++-mingw-w64-x86-64-posix wine wine64 xvfb xauth openbox x11-utils
         nsis zip unzip xdotool)

case "$what" in
  build) pkgs=("${build[@]}") ;;
  desktops) pkgs=("${build[@]}" "${test[@]}" "${e2e[@]}") ;;
  test) pkgs=("${build[@]}" "${test[@]}" "${e2e[@]}" "${windows[@]}" "${roots[@]}") ;;
  e2e) pkgs=("${e2e[@]}") ;;
  windows) pkgs=("${windows[@]}") ;;
  *) echo "usage: $0 [build|desktops|e2e|test|windows]" >&2; exit 2 ;;
esac

missing=()
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
sudo=""
[ "$(id -u)" -eq 0 ] || sudo=sudo
export DEBIAN_FRONTEND=noninteractive
if [ ${#missing[@]} -gt 0 ]; then
  $sudo apt-get update -qq
  $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# The settings tests read numbers under a locale whose decimal mark is a comma.
if [[ $what =~ ^(desktops|test)$ ]] && ! locale -a | grep -qix 'de_DE.utf8'; then
  $sudo sed -i 's/^# *\(de_DE.UTF-8 UTF-8\)/\1/' /etc/locale.gen
  $sudo locale-gen de_DE.UTF-8 >/dev/null
fi
