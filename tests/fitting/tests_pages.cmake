# The single-argument scheme, user-formula and peak pages, driven through their real widgets.
list(APPEND FITTING_PAGES_TEST_SOURCES
  ${PROJECT_SOURCE_DIR}/tests/formula/page_test_support.cpp
  ${CMAKE_CURRENT_LIST_DIR}/xystatistic_page_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/multistat_page_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/parameters_of_multi_search1_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/useruf_page_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/sinaldlg_page_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/user_formula_scheme_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/scoring_run_test.cpp
)
