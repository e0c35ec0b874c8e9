# The three-dimensional scene: camera and flat mapping, triangulation of scattered
# points (both free of Qt), and the scene painters.
list(APPEND CHARTS_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/scene3d.cpp
  ${CMAKE_CURRENT_LIST_DIR}/scene_triangulation.cpp
  ${CMAKE_CURRENT_LIST_DIR}/scene_painting.cpp
)
