# Image import, the chart digitiser, the re-read of followed text files and the import wizard.
list(APPEND DATA_PAGES_TEST_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/sync_reread_test.cpp
)
list(APPEND DATA_PAGES_TEST_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/image_import_test.cpp
)
list(APPEND DATA_PAGES_TEST_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/import_wizard_test.cpp
)
list(APPEND DATA_PAGES_TEST_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/chart_digitiser_test.cpp
)
