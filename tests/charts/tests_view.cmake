# The View page and the painting of data series.
list(APPEND CHARTS_TEST_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/view_page_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/series_painting_test.cpp
)
