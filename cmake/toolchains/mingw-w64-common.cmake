# Shared part of the MinGW-w64 toolchain files. The including file sets
# PLOVIK_MINGW_TRIPLE (i686-w64-mingw32 or x86_64-w64-mingw32) first.

set(CMAKE_SYSTEM_NAME Windows)

# The -posix flavour of Debian's cross compilers: its C++ library has
# std::thread and friends, which GoogleTest and <filesystem> rely on.
set(CMAKE_C_COMPILER ${PLOVIK_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${PLOVIK_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${PLOVIK_MINGW_TRIPLE}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${PLOVIK_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Debian ships GoogleTest for the build machine only; find_package(GTest)
# finds this package instead, which builds it from /usr/src/googletest with
# the cross compiler.
set(GTest_DIR ${CMAKE_CURRENT_LIST_DIR}/../gtest-from-source CACHE PATH
    "GoogleTest built from source for the cross build")

# ctest runs the .exe files under Wine, in the prefix named at configure time
# (a prefix of its own under the build folder unless WINEPREFIX is set), with
# the loader PLOVIK_WINE_LOADER names: empty for `wine` from the search path,
# which picks the 32-bit loader whenever the 32-bit Wine is installed; a
# loader such as /usr/lib/wine/wine64 is started directly, with WINELOADER
# naming it so that the processes it starts use it too.
if(NOT DEFINED PLOVIK_WINEPREFIX)
  if(DEFINED ENV{WINEPREFIX})
    set(PLOVIK_WINEPREFIX "$ENV{WINEPREFIX}")
  else()
    set(PLOVIK_WINEPREFIX "${CMAKE_BINARY_DIR}/wineprefix")
  endif()
endif()
set(PLOVIK_WINEPREFIX "${PLOVIK_WINEPREFIX}" CACHE PATH "Wine prefix the tests run in")
set(PLOVIK_WINE_LOADER "" CACHE FILEPATH
    "Wine loader the tests run with; empty: wine from the search path")
if(PLOVIK_WINE_LOADER)
  set(plovik_wine "WINELOADER=${PLOVIK_WINE_LOADER}" "${PLOVIK_WINE_LOADER}")
else()
  set(plovik_wine wine)
endif()
set(plovik_wine_command
    env "WINEPREFIX=${PLOVIK_WINEPREFIX}" WINEDEBUG=-all "WINEDLLOVERRIDES=mscoree,mshtml=" ${plovik_wine})
# Not cached, so that a new prefix or loader takes effect at the next configure.
# run-under-wine starts a test again only when Wine's host process failed at
# exit (see there).
set(CMAKE_CROSSCOMPILING_EMULATOR
    "${CMAKE_CURRENT_LIST_DIR}/../run-under-wine" ${plovik_wine_command})
# How a test starts a Windows program, for scripts that run one themselves
# (scripts/test-package-windows); INTERNAL entries are rewritten each time.
set(PLOVIK_WINE_COMMAND "${plovik_wine_command}" CACHE INTERNAL
    "How the tests start a Windows program")
