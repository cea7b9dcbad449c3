# Sourced: a Wine prefix and an X display of their own (Xvfb with openbox: without a window
# manager Wine waits about 2 s for every window it closes), both in $session. Everything started
# here is stopped by its PID when the sourcing script exits. Needs the configured build-win/.
source "$(dirname "${BASH_SOURCE[0]}")/wine.sh" build-win
session=$(mktemp -d /tmp/pagewick-wine.XXXXXX)
pids=()
cleanup() {
  WINEPREFIX="$session/prefix" "$wineserver" -k 2>/dev/null || true
  WINEPREFIX="$session/prefix" "$wineserver" -w 2>/dev/null || true
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null || true; done
  rm -rf "$session"
}
trap cleanup EXIT
# Wine makes a folder of its own in the temporary folder and leaves it.
mkdir "$session/tmp"
export TMPDIR="$session/tmp"

# The display is picked by Xvfb itself and closed to anyone without the cookie.
export XAUTHORITY="$session/Xauthority"
cookie=$(od -An -N16 -tx1 /dev/urandom | tr -d ' \n')
touch "$XAUTHORITY"
xauth -q add :0 . "$cookie"
exec 3> >(cat >"$session/display")
Xvfb -displayfd 3 -auth "$XAUTHORITY" -nolisten tcp -screen 0 1280x1024x24 >"$session/xvfb.log" 2>&1 &
pids+=($!)
exec 3>&-
for _ in $(seq 300); do [ -s "$session/display" ] && break; sleep 0.1; done
export DISPLAY=":$(head -n1 "$session/display")"
xauth -q add "$DISPLAY" . "$cookie"
# A new window does not get the focus, as on Windows, where a program in the background cannot
# take the foreground. openbox's default gives it to each new window when it gets round to it,
# which under load is after a test has activated another window, and Wine follows it then.
cat >"$session/openbox.xml" <<'EOF'
<openbox_config xmlns="http://openbox.org/3.4/rc"><focus><focusNew>no</focusNew></focus></openbox_config>
EOF
openbox --sm-disable --config-file "$session/openbox.xml" >"$session/openbox.log" 2>&1 &
pids+=($!)
for _ in $(seq 300); do xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q window && break; sleep 0.1; done

export WINEPREFIX="$session/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" LC_ALL=C.UTF-8
# Debian 13's Wine 10 aborts at start whenever TMPDIR is set at all: there it goes without, and
# keeps its leftovers in /tmp.
("$wine" wineboot --init >"$session/wineboot.log" 2>&1) 2>/dev/null || {
  unset TMPDIR
  ("$wine" wineboot --init >"$session/wineboot.log" 2>&1) 2>/dev/null || { tail -n 30 "$session/wineboot.log" >&2; exit 1; }
}
# The program opens its home page on one start in a hundred; here no real browser may start.
"$wine" reg add 'HKCU\Software\Wine\WineBrowser' /v Browsers /d true /f >/dev/null 2>&1
