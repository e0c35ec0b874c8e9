list(APPEND PLATFORM_TEST_SOURCES
  controls_test.cpp
  ctl_color_test.cpp
  dialog_test.cpp
  exchange_test.cpp
  menu_test.cpp
  requests_test.cpp
  system_test.cpp
)
