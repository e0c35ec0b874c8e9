# The one-argument view over a million records, and the whole chart repaint around it.
list(APPEND CHARTS_BENCH_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/series_view_bench.cpp
)
