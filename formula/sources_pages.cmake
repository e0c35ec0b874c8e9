# The model pages (custom formulas, preset models, the two constructors) and the calculator.
list(APPEND FORMULA_PAGES_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/approxcustom.cpp
  ${CMAKE_CURRENT_LIST_DIR}/collection.cpp
  ${CMAKE_CURRENT_LIST_DIR}/constructor.cpp
  ${CMAKE_CURRENT_LIST_DIR}/term_labels.cpp
  ${CMAKE_CURRENT_LIST_DIR}/constructor_multi.cpp
  ${CMAKE_CURRENT_LIST_DIR}/calculator.cpp
  ${CMAKE_CURRENT_LIST_DIR}/calculator_rows.cpp
)
