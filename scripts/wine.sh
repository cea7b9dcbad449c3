# Sourced: $wine and $wineserver, the Wine that cmake/wine.cmake found for the cross-built tree
# named as the argument (build-win/ in the checkout), so that every script runs the same one.
wine_cached() { sed -n "s/^$1:[A-Z]*=//p" "$2/CMakeCache.txt" 2>/dev/null || true; }
wine=$(wine_cached PAGEWICK_WINE "${1:?usage: source scripts/wine.sh BUILD_TREE}")
wineserver=$(wine_cached PAGEWICK_WINESERVER "$1")
if [ ! -x "$wine" ] || [ ! -x "$wineserver" ]; then
  echo "no Wine named in $1/CMakeCache.txt: configure that tree first (scripts/test-windows.sh)" >&2
  exit 1
fi
