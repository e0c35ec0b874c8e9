# The record beside a saved picture of the chart, and the fitted formulas the reports list.
list(APPEND DOCUMENTS_PAGES_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/screen_record.cpp
  ${CMAKE_CURRENT_LIST_DIR}/fitted_formulas.cpp
)
