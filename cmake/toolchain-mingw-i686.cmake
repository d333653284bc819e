# i686 (32-bit) Windows build with mingw-w64 (posix threads): the shipped program.
set(VQ_MINGW_TRIPLE i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
