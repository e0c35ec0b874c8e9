# The result document through the result pane.
list(APPEND CHARTS_BENCH_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/result_document_bench.cpp
)
