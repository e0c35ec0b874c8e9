# The data sheet's grid and commands, and the record and series operations.
list(APPEND DATA_PAGES_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/data_edit_view.cpp
  ${CMAKE_CURRENT_LIST_DIR}/data_edit_commands.cpp
  ${CMAKE_CURRENT_LIST_DIR}/record_operations.cpp
)
