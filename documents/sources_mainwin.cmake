# The "Results" page and the full-analysis options as the main window knows them.
list(APPEND DOCUMENTS_PAGES_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/result_page.cpp
  ${CMAKE_CURRENT_LIST_DIR}/full_page.cpp
)
