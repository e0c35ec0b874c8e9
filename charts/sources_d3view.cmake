# The painters of two-argument data that draw through the scene: the three-dimensional
# view and the flat colour map.
list(APPEND CHARTS_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/two_argument_views.cpp
)
