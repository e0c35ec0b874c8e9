# The model pages and the calculator, driven through their real widgets.
list(APPEND FORMULA_PAGES_TEST_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/page_test_support.cpp
  ${CMAKE_CURRENT_LIST_DIR}/model_pages_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/constructor_pages_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/calculator_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/page_colors_test.cpp
)
