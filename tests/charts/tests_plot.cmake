# Plot mapping, axes, chart text, settings pages and distribution curves.
list(APPEND CHARTS_TEST_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/plot_mapping_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/axes_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/distribution_curves_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/chart_pages_test.cpp
)
