# The "Results" page, driven through its real widgets.
list(APPEND DOCUMENTS_PAGES_TEST_SOURCES
  ${PROJECT_SOURCE_DIR}/tests/formula/page_test_support.cpp
  ${CMAKE_CURRENT_LIST_DIR}/result_page_test.cpp
)
