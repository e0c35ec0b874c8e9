# Imports: text files, the clipboard and Access databases, with their dialogs.
list(APPEND DATA_PAGES_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/text_import.cpp
  ${CMAKE_CURRENT_LIST_DIR}/text_lines.cpp
  ${CMAKE_CURRENT_LIST_DIR}/clipboard_import.cpp
  ${CMAKE_CURRENT_LIST_DIR}/clipboard_text.cpp
  ${CMAKE_CURRENT_LIST_DIR}/database_import.cpp
  ${CMAKE_CURRENT_LIST_DIR}/tables_dialog.cpp
  ${CMAKE_CURRENT_LIST_DIR}/import_routines.cpp
)
