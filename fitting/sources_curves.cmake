# Fitted curves of the schemes and term models drawn on the chart.
list(APPEND FITTING_PAGES_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/fit_curves.cpp
)
