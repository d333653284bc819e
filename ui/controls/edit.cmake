# The edit control and its native text box.
target_sources(skinui PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/edit_ui.cpp
  ${CMAKE_CURRENT_LIST_DIR}/edit_wnd.cpp
)
