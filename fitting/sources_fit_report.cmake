# The report every single-argument fit writes (formula, correlation, coefficient table,
# formula lists, calculator values), shared by the fit reports of every folder.
list(APPEND FITTING_PAGES_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/fit_report.cpp
)
