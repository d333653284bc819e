# Tests of the edit control and its native box (run under Wine): scripted through the paint
# manager in a real window, and under real X input (a Python driver with xdotool).
vq_add_gtest(skinui_edit_tests
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/edit_box_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/edit_control_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/edit_paint_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/edit_scene.cpp
    ${CMAKE_CURRENT_LIST_DIR}/../core/test_window.cpp
    ${CMAKE_CURRENT_LIST_DIR}/../render/canvas.cpp
  LIBS skinui_core_testing ZLIB::ZLIB
  LABEL ui)

# The edit control under real X input: a Python driver clicks and types with xdotool on the
# Wine runner's display and checks what the probe program logs.
add_executable(edit_input_probe
  ${CMAKE_CURRENT_LIST_DIR}/edit_input_probe.cpp
  ${CMAKE_CURRENT_LIST_DIR}/../core/test_window.cpp
  ${CMAKE_CURRENT_LIST_DIR}/../render/canvas.cpp)
vq_windows_program(edit_input_probe)
target_link_libraries(edit_input_probe PRIVATE skinui_core_testing ZLIB::ZLIB GTest::gtest)
vq_add_script_test(edit_handles_real_clicks_and_typing
  COMMAND ${CMAKE_CROSSCOMPILING_EMULATOR} --with-env ${Python3_EXECUTABLE}
          "${CMAKE_CURRENT_LIST_DIR}/edit_input_e2e.py"
          $<TARGET_FILE:edit_input_probe> "${CMAKE_CURRENT_BINARY_DIR}/edit_input"
  LABELS ui)
# Alone: the pointer and the keyboard focus belong to the display that every test shares.
set_tests_properties(edit_handles_real_clicks_and_typing PROPERTIES TIMEOUT 120 RUN_SERIAL TRUE)
