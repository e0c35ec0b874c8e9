# The View pages as the main window knows them: their fields, flags and shared handlers, and
# the label lists of the three-dimensional and peak pages.
list(APPEND CHARTS_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/xyview_page.cpp
  ${CMAKE_CURRENT_LIST_DIR}/d3view_page.cpp
  ${CMAKE_CURRENT_LIST_DIR}/text_label_list.cpp
)
