# Curves of the polynomial fits and the peak model drawn on the chart.
list(APPEND FITTING_PAGES_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/power_series_curve.cpp
)
list(APPEND FITTING_PAGES_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/peak_painters.cpp
)
