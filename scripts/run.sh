#!/usr/bin/env bash
# Installs what Pagewick needs, builds it and starts it in the form this session lets capture:
#   X11, sway and other wlroots desktops   the build, build/app/pagewick
#   GNOME and KDE Plasma on Wayland        the package, built from this checkout and installed
#                                          with apt-get, and /usr/bin/pagewick: their routes
#                                          answer the installed program only. On GNOME the
#                                          extension is enabled for the user too.
# The session is told apart as the program tells it: WAYLAND_DISPLAY, then the desktop's name.
set -euo pipefail
cd "$(dirname "$0")/.."
uuid=pagewick@kelvarin.org
sudo=""
[ "$(id -u)" -eq 0 ] || sudo=sudo

from_build() {
  bash scripts/build.sh build
  exec build/app/pagewick
}

# The package as scripts/release.sh makes it, installed from a folder apt's own user may read.
install_package() {
  bash scripts/release.sh package build
  local out
  out=$(mktemp -d)
  chmod 755 "$out"
  cp build/pagewick_*.deb "$out"
  local deb=("$out"/pagewick_*.deb)
  [ -z "$sudo" ] || echo "run.sh: this desktop lets only the installed Pagewick reach other programs' windows," \
    "so it installs ${deb[0]##*/} system-wide, through sudo apt-get."
  # --reinstall: a rebuild carries the same version as the package already installed.
  $sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --reinstall "${deb[@]}" >/dev/null
  rm -rf "$out"
}

# A list of org.gnome.shell's, one uuid a word.
shell_list() { gsettings get org.gnome.shell "$1" | sed -e 's/^@as //' -e "s/[][,']/ /g"; }

# Enabled as the shell's own Enable does it: listed as enabled, and no longer as disabled. The shell
# loads the extension at once if it found it at log-in; one it has not seen waits for a new log-in
# (`gnome-extensions enable` refuses it until then).
enable_extension() {
  local on off item
  read -ra on <<<"$(shell_list enabled-extensions)"
  read -ra off <<<"$(shell_list disabled-extensions)"
  [[ " ${on[*]} " == *" $uuid "* ]] || on+=("$uuid")
  local kept=()
  for item in "${off[@]}"; do [ "$item" = "$uuid" ] || kept+=("'$item'"); done
  gsettings set org.gnome.shell enabled-extensions "[$(printf "'%s'," "${on[@]}" | sed 's/,$//')]"
  gsettings set org.gnome.shell disabled-extensions "[$(IFS=,; echo "${kept[*]}")]"
  [ "$(gsettings get org.gnome.shell disable-user-extensions)" = false ] ||
    echo "run.sh: extensions are switched off for you; switch them on in the Extensions app."
  local i
  for ((i = 0; i < 25; i++)); do
    gdbus call --session --dest org.freedesktop.DBus --object-path /org/freedesktop/DBus \
      --method org.freedesktop.DBus.NameHasOwner org.kelvarin.Pagewick.Shell | grep -q true && return
    sleep 0.2
  done
  echo "run.sh: GNOME loads a newly installed extension only when you log in, so log out and in once" \
    "before capturing; Pagewick is in your applications menu."
}

gnome() {
  install_package
  enable_extension
  exec /usr/bin/pagewick
}

plasma() {
  install_package
  exec /usr/bin/pagewick
}

if [ -z "${WAYLAND_DISPLAY:-}" ]; then from_build; fi
case ":${XDG_CURRENT_DESKTOP:-}:" in
  *:GNOME:*) gnome ;;
  *:KDE:*) plasma ;;
  *) from_build ;;
esac
