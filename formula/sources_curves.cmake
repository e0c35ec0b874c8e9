# Model and formula curves drawn on the chart.
list(APPEND FORMULA_PAGES_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/curve_painters.cpp
)
