# The result document through the result pane. bench_main.cpp is the charts benchmarks'
# shared entry point (it builds the QApplication).
list(APPEND CHARTS_BENCH_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/bench_main.cpp
  ${CMAKE_CURRENT_LIST_DIR}/result_document_bench.cpp
)
