# The flat map of two-argument data at the band and cell thresholds and at 10^5 points.
list(APPEND CHARTS_BENCH_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/two_argument_map_bench.cpp
)
