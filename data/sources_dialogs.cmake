# The insert-parameter and modify-parameter dialogs.
list(APPEND DATA_PAGES_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/insert_dialog.cpp
  ${CMAKE_CURRENT_LIST_DIR}/modify_dialog.cpp
)
