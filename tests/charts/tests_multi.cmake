# The measured-against-estimated view of several-argument data.
list(APPEND CHARTS_TEST_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/xy_correlation_view_test.cpp
)
