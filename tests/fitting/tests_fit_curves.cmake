# Curves of the polynomial fits and the peak model.
list(APPEND FITTING_PAGES_TEST_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/fit_curves_test.cpp
)
