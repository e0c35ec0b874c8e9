list(APPEND PLATFORM_TEST_SOURCES
  canvas_test.cpp
  canvas_fastpath_test.cpp
  image_test.cpp
  text_metrics_test.cpp
  word_document_test.cpp
)
