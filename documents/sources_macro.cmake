# The macro-file runner (it drives the data and scheme pages).
list(APPEND DOCUMENTS_PAGES_SOURCES ${CMAKE_CURRENT_LIST_DIR}/macro_runner.cpp)
