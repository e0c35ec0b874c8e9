# The name list of formulas evaluated at the records of the single series.
list(APPEND DATA_PAGES_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/formula_name_list.cpp
)
