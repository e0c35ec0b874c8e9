# The result stores.
list(APPEND CHARTS_TEST_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/result_document_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/result_tables_test.cpp
)
