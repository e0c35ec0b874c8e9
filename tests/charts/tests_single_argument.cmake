# The one-value view and the fixed order of the single-argument schemes.
list(APPEND CHARTS_TEST_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/one_value_view_test.cpp
)
