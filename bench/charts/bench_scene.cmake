# The scene: triangulation and whole scene paints.
list(APPEND CHARTS_BENCH_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/scene_bench.cpp
)
