# 32-bit Windows with MinGW-w64: cmake -DCMAKE_TOOLCHAIN_FILE=<this file>
set(PLOVIK_MINGW_TRIPLE i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)
