#!/usr/bin/env bash
# The Windows installer as a user meets it, under Wine: a folder kept for all users refused, an
# older version installed silently, the current one over it in place, the installed program
# started from the Start menu's target, then a silent removal that leaves the user's settings and
# nothing else. Needs DISPLAY and WINEPREFIX (scripts/test-windows.sh sets both up); BUILD is the
# cross-built tree.
set -euo pipefail
build=$1
source "$(dirname "$0")/wine.sh" "$build"
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
setup="$build/pagewick-$version-setup.exe"
fail() { echo "installer test: $*" >&2; exit 1; }
waitFor() {  # waitFor SECONDS COMMAND...: polls, as Wine's uninstaller returns before it is done
  local deadline=$((SECONDS + $1)); shift
  until "$@"; do [ $SECONDS -lt $deadline ] || return 1; sleep 0.1; done
}
reg() { $wine reg query "$1" /v "$2" 2>/dev/null | tr -d '\r' | sed -n "s/.*$2 *REG_[A-Z_]* *//p"; }
uninstallKey='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Pagewick'

users="$WINEPREFIX/drive_c/users/$(id -un)"
dir="$users/AppData/Local/Programs/Pagewick"
shortcut="$users/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Pagewick.lnk"

# The user's own settings, there before and after.
$wine reg add 'HKCU\Software\Kelvarin\Pagewick' /v Text2 /d 'C:\kept.txt' /f >/dev/null 2>&1

# A folder kept for all users is refused before anything is installed.
! $wine "$setup" /S '/D=C:\windows\Pagewick' && [ ! -e "$WINEPREFIX/drive_c/windows/Pagewick" ] ||
  fail "a folder kept for all users was not refused"

# An older version first, built from the same script, then the current one over it.
makensis -V1 -NOCD -DVERSION=0.0.1 -DOUTFILE="$build/old-setup.exe" "$build/dist/win/pagewick.nsi"
$wine "$build/old-setup.exe" /S
[ "$(reg "$uninstallKey" DisplayVersion)" = 0.0.1 ] || fail "the older version did not register"
$wine "$setup" /S
for f in pagewick.exe HAND-M.CUR README.txt uninstall.exe; do [ -f "$dir/$f" ] || fail "$f is not installed"; done
[ -f "$shortcut" ] || fail "no Start menu entry"
[ "$(reg "$uninstallKey" DisplayVersion)" = "$version" ] || fail "the upgrade did not replace the older version"
[ "$(reg "$uninstallKey" Publisher)" = Kelvarin ] || fail "no publisher"
[[ "$(reg "$uninstallKey" DisplayIcon)" == *'\pagewick.exe,0' ]] || fail "no icon"
[ "$($wine reg query 'HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall' 2>/dev/null | grep -c Pagewick)" = 1 ] ||
  fail "more than one entry in Apps & features"
cmp -s "$dir/pagewick.exe" "$build/dist/win/stage/pagewick.exe" || fail "the installed program is not this build's"

# The installed program starts and shows its window; asked to close, it ends.
$wine "$dir/pagewick.exe" &
program=$!
waitFor 60 xdotool search --onlyvisible --name '^Pagewick$' >/dev/null || fail "the installed program showed no window"
window=$(xdotool search --onlyvisible --name '^Pagewick$' | head -n1)
xwininfo -id "$window" | grep -q 'Map State: IsViewable' || fail "its window is not on the screen"
$wine taskkill /im pagewick.exe >/dev/null 2>&1
waitFor 30 bash -c "! kill -0 $program 2>/dev/null" || fail "the installed program did not end when asked"
wait "$program" || true

# Removal: everything goes but the user's settings.
$wine "$dir/uninstall.exe" /S
waitFor 30 test ! -e "$dir" || fail "files left behind: $(ls -A "$dir")"
waitFor 30 test ! -e "$shortcut" || fail "the Start menu entry is left"
[ -z "$(reg "$uninstallKey" DisplayName)" ] || fail "the Apps & features entry is left"
[ "$(reg 'HKCU\Software\Kelvarin\Pagewick' Text2)" = 'C:\kept.txt' ] || fail "the user's settings were removed"

# The portable zip holds the program, its pointer and the README, nothing else.
[ "$(unzip -Z1 "$build/pagewick-$version-windows.zip" | sort | tr '\n' ' ')" = "HAND-M.CUR README.txt pagewick.exe " ] ||
  fail "the zip does not hold what it should"
echo "installer test: passed (a folder for all users refused, install, upgrade in place, start, silent removal)"
