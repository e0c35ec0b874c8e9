# The result document, the report tables, the symbol pictures and the progress bar.
list(APPEND CHARTS_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/result_document.cpp
  ${CMAKE_CURRENT_LIST_DIR}/result_tables.cpp
  ${CMAKE_CURRENT_LIST_DIR}/result_symbols.cpp
  ${CMAKE_CURRENT_LIST_DIR}/progress_bar.cpp
)
