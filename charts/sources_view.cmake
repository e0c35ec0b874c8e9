# The View page with its pictures, and the painting of data series.
list(APPEND CHARTS_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/series_painting.cpp
  ${CMAKE_CURRENT_LIST_DIR}/view_pictures.cpp
)
