list(APPEND DATA_PAGES_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/data_page.cpp
  ${CMAKE_CURRENT_LIST_DIR}/data_page_buttons.cpp
  ${CMAKE_CURRENT_LIST_DIR}/data_page_draw.cpp
  ${CMAKE_CURRENT_LIST_DIR}/data_page_list.cpp
  ${CMAKE_CURRENT_LIST_DIR}/data_page_widgets.cpp
  ${CMAKE_CURRENT_LIST_DIR}/choose_file_name.cpp
)
# Stand-ins until the import commands land (that file is then deleted).
if(EXISTS ${CMAKE_CURRENT_LIST_DIR}/imports_pending.cpp)
  list(APPEND DATA_PAGES_SOURCES ${CMAKE_CURRENT_LIST_DIR}/imports_pending.cpp)
endif()
