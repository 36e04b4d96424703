# 64-bit Windows with MinGW-w64: cmake -DCMAKE_TOOLCHAIN_FILE=<this file>
set(PLOVIK_MINGW_TRIPLE x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)
