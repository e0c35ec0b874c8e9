# Imports: text files, the clipboard and Access databases.
list(APPEND DATA_PAGES_TEST_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/text_import_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/clipboard_import_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/database_import_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/import_faults_test.cpp
)
