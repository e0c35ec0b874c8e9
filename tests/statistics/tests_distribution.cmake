# The distribution options page, the filter over the store and the picture and file routines.
list(APPEND STATISTICS_PAGES_TEST_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/distrimution_page_test.cpp
)
list(APPEND STATISTICS_PAGES_TEST_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/one_variable_view_test.cpp
)
list(APPEND STATISTICS_PAGES_TEST_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/two_variables_view_test.cpp
)
list(APPEND STATISTICS_PAGES_TEST_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/correlation_test.cpp
)
