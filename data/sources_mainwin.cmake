# The data sheet as the main window knows it: its window and current series.
list(APPEND DATA_PAGES_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/data_edit.cpp
)
