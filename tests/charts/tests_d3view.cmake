# The three-dimensional view page, its label line and the painters of two-argument data.
list(APPEND CHARTS_TEST_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/d3view_page_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/two_argument_views_test.cpp
)
