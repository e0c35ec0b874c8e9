# The result document, the report tables and the symbol pictures.
list(APPEND CHARTS_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/result_document.cpp
  ${CMAKE_CURRENT_LIST_DIR}/result_tables.cpp
  ${CMAKE_CURRENT_LIST_DIR}/result_tables_word.cpp
  ${CMAKE_CURRENT_LIST_DIR}/result_symbols.cpp
)
