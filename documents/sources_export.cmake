# The record beside a saved picture of the chart.
list(APPEND DOCUMENTS_PAGES_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/screen_record.cpp
)
