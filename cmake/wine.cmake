# Wine, which runs the Windows build and its tests here: the one place that names it. Debian 12's
# 64-bit loader is /usr/lib/wine/wine64 (its /usr/bin/wine would look for a 32-bit one first);
# a Wine that runs both kinds from one loader has only `wine`. The server that goes with the loader
# lies beside it. Scripts read both from the Windows tree's cache (scripts/wine.sh).
find_program(PAGEWICK_WINE NAMES wine64 wine NAMES_PER_DIR HINTS /usr/lib/wine NO_CMAKE_FIND_ROOT_PATH
  DOC "Wine's loader for 64-bit programs")
get_filename_component(wine_folder "${PAGEWICK_WINE}" DIRECTORY)
find_program(PAGEWICK_WINESERVER NAMES wineserver HINTS "${wine_folder}" /usr/lib/wine NO_CMAKE_FIND_ROOT_PATH
  DOC "The Wine server that goes with PAGEWICK_WINE")
