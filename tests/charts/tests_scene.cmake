# The three-dimensional scene: camera, geometry, triangulation and painting.
list(APPEND CHARTS_TEST_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/scene_geometry_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/scene_painting_test.cpp
)
