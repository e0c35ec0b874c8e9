# The result stores and the progress bar.
list(APPEND CHARTS_TEST_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/result_document_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/result_tables_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/progress_bar_test.cpp
)
