# Plot mapping, axes and chart text, the chart and legend settings pages, the
# distribution curve painters.
list(APPEND CHARTS_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/plot_mapping.cpp
  ${CMAKE_CURRENT_LIST_DIR}/plot_polyline.cpp
  ${CMAKE_CURRENT_LIST_DIR}/chart_text.cpp
  ${CMAKE_CURRENT_LIST_DIR}/axes.cpp
  ${CMAKE_CURRENT_LIST_DIR}/chart_page.cpp
  ${CMAKE_CURRENT_LIST_DIR}/legend_page.cpp
  ${CMAKE_CURRENT_LIST_DIR}/distribution_curves.cpp
)
