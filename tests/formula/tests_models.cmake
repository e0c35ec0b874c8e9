# User models and formulas of one variable: evaluation, fits and their curves.
list(APPEND FORMULA_PAGES_TEST_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/model_evaluation_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/curve_painters_test.cpp
)
