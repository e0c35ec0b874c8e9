# Image import, the chart digitiser, the re-read of followed text files and the import wizard.
list(APPEND DATA_PAGES_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/sync_reread.cpp
  ${CMAKE_CURRENT_LIST_DIR}/synchronize_dialog.cpp
)
list(APPEND DATA_PAGES_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/image_import.cpp
)
list(APPEND DATA_PAGES_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/fromimage_dialog.cpp
  ${CMAKE_CURRENT_LIST_DIR}/import_wizard.cpp
)
