#!/usr/bin/env bash
# Installs the Debian packages Pagewick needs, on Debian 12, 13 and unstable. "build" is enough to
# build and run the program, "package" to make its .deb too; "desktops" adds the tests' own tools
# and what the Linux tests drive ("e2e" alone, for running end-to-end tests built elsewhere): an X
# server, a window manager, the Wayland compositors (Weston for its refusal) and two real
# browsers, and stress-ng to load the cores for runs under load; "test" adds everything "windows" needs too. "windows" is the mingw-w64 cross compiler, Wine and
# a display for it; "release" what scripts/release.sh needs here: the cross compiler and NSIS, and
# the tools that make Debian roots; "roots" what a release's test root has: "desktops" and the Wine
# that runs the machine's Windows build there.
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
# What cpack needs for the package: dpkg-shlibdeps for its dependency list, which reads file's.
package=(dpkg-dev file)
test=("${package[@]}" googletest libgtest-dev libgmock-dev libbenchmark-dev clang libclang-rt-dev
      desktop-file-utils appstream lintian locales)
e2e=(xvfb xauth openbox x11-utils x11-xkb-utils xdotool xclip imagemagick firefox-esr chromium sway
     xwayland x11-xserver-utils wl-clipboard kwin-wayland gnome-shell gjs dbus-daemon libglib2.0-bin
     grim weston stress-ng)
# Unstable has Firefox's rapid release too, which other distributions ship as their only Firefox,
# and the first Wayfire that runs headless (0.10). (Its os-release names the next release;
# debian_version ends in /sid.)
[[ $(cat /etc/debian_version) != */sid ]] || e2e+=(firefox wayfire miriway mir-platform-graphics-virtual)
# labwc, the wlroots desktop the tests run beside sway, came with Debian 13.
[ "${VERSION_ID:-}" = 12 ] || e2e+=(labwc)
# The roots of other Debian releases that scripts/test.sh tests in.
roots=(debootstrap bubblewrap)
# The Windows program, its installer and zip, cross-built; "windows" adds its tests' Wine and display.
cross=(cmake make g++-mingw-w64-x86-64-posix nsis zip)
# What runs the Windows program and its installer's test: Wine and a display for it.
wine=(wine wine64 nsis xvfb xauth openbox x11-utils unzip xdotool)
windows=("${cross[@]}" googletest "${wine[@]}")

case "$what" in
  build) pkgs=("${build[@]}") ;;
  desktops) pkgs=("${build[@]}" "${test[@]}" "${e2e[@]}") ;;
  test) pkgs=("${build[@]}" "${test[@]}" "${e2e[@]}" "${windows[@]}" "${roots[@]}") ;;
  e2e) pkgs=("${e2e[@]}") ;;
  windows) pkgs=("${windows[@]}") ;;
  roots) pkgs=("${build[@]}" "${test[@]}" "${e2e[@]}" "${wine[@]}") ;;
  package) pkgs=("${build[@]}" "${package[@]}") ;;
  release) pkgs=("${cross[@]}" "${roots[@]}") ;;
  *) echo "usage: $0 [build|desktops|e2e|test|windows|package|release|roots]" >&2; exit 2 ;;
esac

missing=()
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
sudo=""
[ "$(id -u)" -eq 0 ] || sudo=sudo
if [ ${#missing[@]} -gt 0 ]; then
  $sudo apt-get update -qq
  $sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# The settings tests read numbers under a locale whose decimal mark is a comma.
if [[ $what =~ ^(desktops|test|roots)$ ]] && ! locale -a | grep -qix 'de_DE.utf8'; then
  $sudo sed -i 's/^# *\(de_DE.UTF-8 UTF-8\)/\1/' /etc/locale.gen
  $sudo locale-gen de_DE.UTF-8 >/dev/null
fi
