# The names and fixed pieces of the HTML reports.
list(APPEND DOCUMENTS_PAGES_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/html_report.cpp
)
