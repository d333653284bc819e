# GoogleTest, built from Debian's sources for the current toolchain, and the test helpers.
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest "${CMAKE_BINARY_DIR}/googletest" EXCLUDE_FROM_ALL SYSTEM)
include(GoogleTest)

# Windows tests run under Wine and share one Wine session (prefix, display, wineserver):
# the fixture starts it before the first test and stops it after the last.
if(CMAKE_CROSSCOMPILING_EMULATOR)
  set(VQ_WINE_FIXTURE wine_session)
  add_executable(wine_desktop_holder ${PROJECT_SOURCE_DIR}/tests/wine_desktop_holder.cpp)
  vq_target_settings(wine_desktop_holder)
  add_test(NAME wine_session_start
           COMMAND ${CMAKE_CROSSCOMPILING_EMULATOR} --session-start $<TARGET_FILE:wine_desktop_holder>)
  add_test(NAME wine_session_stop COMMAND ${CMAKE_CROSSCOMPILING_EMULATOR} --session-stop)
  set_tests_properties(wine_session_start PROPERTIES FIXTURES_SETUP wine_session)
  set_tests_properties(wine_session_stop PROPERTIES FIXTURES_CLEANUP wine_session)
endif()

# vq_add_gtest(name SOURCES a.cpp b.cpp LIBS lib1 lib2 [LABEL label])
# One test executable; each of its test cases becomes a CTest test. The properties of discovered
# tests pass through a generated script that cannot carry lists, hence a single label (default:
# the executable's name).
function(vq_add_gtest name)
  cmake_parse_arguments(ARG "" "LABEL" "SOURCES;LIBS" ${ARGN})
  if(NOT ARG_LABEL)
    set(ARG_LABEL ${name})
  endif()
  add_executable(${name} ${ARG_SOURCES})
  vq_target_settings(${name})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest_main)
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120
                       PROPERTIES ${VQ_TEST_FIXTURE_PROPERTIES} LABELS ${ARG_LABEL})
endfunction()

# vq_add_script_test(name COMMAND ... [LABELS ...]): an end-to-end test driven by a script.
function(vq_add_script_test name)
  cmake_parse_arguments(ARG "" "" "COMMAND;LABELS" ${ARGN})
  add_test(NAME ${name} COMMAND ${ARG_COMMAND})
  set_tests_properties(${name} PROPERTIES ${VQ_TEST_FIXTURE_PROPERTIES} LABELS "${ARG_LABELS};${name}")
endfunction()

if(VQ_WINE_FIXTURE)
  set(VQ_TEST_FIXTURE_PROPERTIES FIXTURES_REQUIRED ${VQ_WINE_FIXTURE})
endif()

# vq_add_fuzzer(name SOURCES ... LIBS ... COMMAND ...): a libFuzzer target (clang builds with
# VQ_FUZZ only) and a CTest test of the same name, labelled "fuzz", that runs COMMAND.
function(vq_add_fuzzer name)
  if(NOT VQ_FUZZ)
    return()
  endif()
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS;COMMAND" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  vq_target_settings(${name})
  target_compile_options(${name} PRIVATE -fsanitize=fuzzer)
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  target_link_libraries(${name} PRIVATE ${ARG_LIBS})
  add_test(NAME ${name} COMMAND ${ARG_COMMAND})
  set_tests_properties(${name} PROPERTIES LABELS fuzz TIMEOUT 300)
endfunction()
