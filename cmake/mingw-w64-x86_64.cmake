# Cross-builds for 64-bit Windows with Debian's mingw-w64. The posix thread model is the one
# whose C++ library has std::thread and std::mutex.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# Self-contained executables: nothing to copy next to them for Wine or Windows to find.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
# Tests run under Wine; the session around them (prefix, display) is the caller's.
include(${CMAKE_CURRENT_LIST_DIR}/wine.cmake)
set(CMAKE_CROSSCOMPILING_EMULATOR ${PAGEWICK_WINE})
