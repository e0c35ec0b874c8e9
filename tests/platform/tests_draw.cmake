list(APPEND PLATFORM_TEST_SOURCES
  canvas_test.cpp
  image_test.cpp
)
