# x86_64 Windows build with mingw-w64 (posix threads); its programs run under Wine.
set(VQ_MINGW_TRIPLE x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
