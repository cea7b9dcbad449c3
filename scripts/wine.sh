# Sourced: $wine and $wineserver, the Wine that cmake/wine.cmake found for the cross-built tree
# named as the argument (build-win/ in the checkout), so that every script runs the same one. In
# another release's root, PAGEWICK_WINE_TREE names the root's own build/, which found its Wine.
wine_cached() { sed -n "s/^$1:[A-Z]*=//p" "$2/CMakeCache.txt" 2>/dev/null || true; }
tree=${PAGEWICK_WINE_TREE:-${1:?usage: source scripts/wine.sh BUILD_TREE}}
wine=$(wine_cached PAGEWICK_WINE "$tree")
wineserver=$(wine_cached PAGEWICK_WINESERVER "$tree")
if [ ! -x "$wine" ] || [ ! -x "$wineserver" ]; then
  echo "no Wine named in $tree/CMakeCache.txt: configure that tree first (scripts/test-windows.sh)" >&2
  exit 1
fi
