list(APPEND DATA_PAGES_TEST_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/point_marks_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/mark_buffer_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/bmp_file_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/file_routines_test.cpp
)
