# Formulas over records and the insert and modify dialogs.
list(APPEND DATA_PAGES_TEST_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/record_formulas_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/insert_modify_dialogs_test.cpp
)
