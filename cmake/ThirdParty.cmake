# Installed dependencies (scripts/install-deps.sh puts them in place).

# cpp-httplib: header-only, unpacked from Debian's source package into third_party/. The
# development service and the tests use it (the installer has its own small client).
set(VQ_HTTPLIB_DIR "${PROJECT_SOURCE_DIR}/third_party/cpp-httplib")
if(NOT EXISTS "${VQ_HTTPLIB_DIR}/httplib.h")
  message(FATAL_ERROR "cpp-httplib is missing: run scripts/install-deps.sh")
endif()
add_library(httplib INTERFACE)
target_include_directories(httplib SYSTEM INTERFACE "${VQ_HTTPLIB_DIR}")
find_package(Threads REQUIRED)
if(WIN32)
  target_link_libraries(httplib INTERFACE ws2_32 crypt32 Threads::Threads)
else()
  target_link_libraries(httplib INTERFACE Threads::Threads)
endif()

# zlib: the mingw build comes from libz-mingw-w64-dev, the native one from zlib1g-dev.
if(WIN32)
  set(ZLIB_USE_STATIC_LIBS ON)  # the executable must not need zlib1.dll
endif()
find_package(ZLIB REQUIRED)

# stb_image: header-only from libstb-dev; its implementation is compiled once in ui/.
# The header is copied into the build tree because /usr/include itself must not reach the
# mingw compilers (its glibc headers would shadow theirs).
find_path(VQ_STB_DIR stb/stb_image.h PATHS /usr/include NO_CMAKE_FIND_ROOT_PATH REQUIRED)
configure_file("${VQ_STB_DIR}/stb/stb_image.h" "${CMAKE_BINARY_DIR}/stb_include/stb/stb_image.h" COPYONLY)
add_library(stb INTERFACE)
target_include_directories(stb SYSTEM INTERFACE "${CMAKE_BINARY_DIR}/stb_include")
