# The control colours of the Data page and the data dialogs.
list(APPEND DATA_PAGES_TEST_SOURCES ${CMAKE_CURRENT_LIST_DIR}/control_colors_test.cpp)
