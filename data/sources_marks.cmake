list(APPEND DATA_PAGES_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/point_marks.cpp
  ${CMAKE_CURRENT_LIST_DIR}/mark_buffer.cpp
  ${CMAKE_CURRENT_LIST_DIR}/points_in_box.cpp
  ${CMAKE_CURRENT_LIST_DIR}/bmp_file.cpp
  ${CMAKE_CURRENT_LIST_DIR}/file_routines.cpp
)
