#!/usr/bin/env bash
# Wine figures for docs/performance.md, taken from outside as a user would meet them: the real
# pagewick.exe (stripped, as shipped) against the stand-in browser, each timed over RUNS starts.
#   shown        from launch until its window is on the screen
#   filled       until the box shows all of its text as well (the program has gone idle)
#   capture      from the click on "Copy Browser Text and Append To Text Box" until the window is
#                topmost again, its last step; the text is saved in the registry before that
#   memory       resident and peak resident size after the capture
# once with an empty text box and a 1 KB page, once with 10 M characters in the box and a
# 100 K-character page. Needs build-win/ (scripts/test-windows.sh). Usage: bench/wine.sh [RUNS]
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-5}
build=build-win
source scripts/wine-session.sh

winpath() { local p=${1//\//\\}; printf 'Z:%s' "$p"; }
ms() { echo $(( $(date +%s%N) / 1000000 )); }
text() { { yes "$2" | sed "s/$/\r/" || :; } | head -c "$3" | iconv -t UTF-16LE >"$1"; }  # $3 characters in CR LF lines
cpu() { awk '{print $14 + $15}' "/proc/$1/stat"; }
idle() {  # until the process has used no CPU for half a second: the box is filled
  local before; before=$(cpu "$1"); sleep 0.5
  until [ "$(cpu "$1")" = "$before" ]; do before=$(cpu "$1"); sleep 0.5; done
}
median() { sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }

printf 'Pagewick Test Page - Internet Explorer' | iconv -t UTF-16LE >"$session/title"
measure() {  # measure NAME BOX_CHARS PAGE_CHARS
  text "$session/box" 'Saved text of earlier captures, line after line.' "$2"
  text "$session/page" 'The page text that the browser hands over.' "$3"
  "$wine" "$build/tests/win/test_page.exe" --title-file "$(winpath "$session/title")" --text "$(winpath "$session/page")" &
  local page=$!
  xdotool search --sync --onlyvisible --name 'Internet Explorer$' >/dev/null
  local starts=() fills=() captures=() rss=() peak=()
  for _ in $(seq "$runs"); do
    "$wine" "$build/tests/win/wine_probe.exe" forget
    "$wine" "$build/tests/win/wine_probe.exe" set Text1 "$(winpath "$session/box")"
    local t0; t0=$(ms)
    "$wine" "$build/dist/win/stage/pagewick.exe" &
    local program=$!
    local window; window=$(xdotool search --sync --onlyvisible --name '^Pagewick$' | head -n1)
    starts+=($(( $(ms) - t0 )))
    idle "$program"
    fills+=($(( $(ms) - t0 - 500 )))
    # Where the window has "Copy Browser Text and Append To Text Box".
    "$wine" "$build/tests/win/wine_probe.exe" spot PushButton2 "$(winpath "$session/spot")"
    local x y; read -r x y <"$session/spot"
    xdotool windowactivate --sync "$window" mousemove --window "$window" "$x" "$y"
    t0=$(ms)
    xdotool click 1
    until xprop -id "$window" _NET_WM_STATE | grep -q _NET_WM_STATE_ABOVE; do :; done
    captures+=($(( $(ms) - t0 )))
    rss+=($(awk '/VmRSS/ {print int($2 / 1024)}' "/proc/$program/status"))
    peak+=($(awk '/VmHWM/ {print int($2 / 1024)}' "/proc/$program/status"))
    "$wine" taskkill /im pagewick.exe >/dev/null 2>&1 || true
    wait "$program" || true
  done
  kill "$page"; wait "$page" 2>/dev/null || true
  printf '%-32s shown %5s ms  filled %5s ms  capture %5s ms  resident %4s MiB  peak %4s MiB  (medians of %s)\n' "$1" \
    "$(printf '%s\n' "${starts[@]}" | median)" "$(printf '%s\n' "${fills[@]}" | median)" \
    "$(printf '%s\n' "${captures[@]}" | median)" \
    "$(printf '%s\n' "${rss[@]}" | median)" "$(printf '%s\n' "${peak[@]}" | median)" "$runs"
}
measure "empty box, 1 KB page" 0 1000
measure "10 M-character box, 100 K page" 10000000 100000
