# The report copy of the results written as HTML.
list(APPEND CHARTS_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/html_text.cpp
  ${CMAKE_CURRENT_LIST_DIR}/result_tables_html.cpp
)
