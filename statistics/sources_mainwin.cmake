# The distribution pages as the main window knows them: their flags and lists.
list(APPEND STATISTICS_PAGES_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/distrimution_page.cpp
  ${CMAKE_CURRENT_LIST_DIR}/distribution2_page.cpp
)
