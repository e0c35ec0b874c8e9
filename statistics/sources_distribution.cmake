# The one-variable distribution: the filter over the store and the picture and file routines.
list(APPEND STATISTICS_PAGES_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/conditional_values.cpp
  ${CMAKE_CURRENT_LIST_DIR}/stretch_and_browse.cpp
)
list(APPEND STATISTICS_PAGES_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/one_variable_view.cpp
  ${CMAKE_CURRENT_LIST_DIR}/distribution_histogram.cpp
)
list(APPEND STATISTICS_PAGES_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/two_variables_view.cpp
)
list(APPEND STATISTICS_PAGES_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/correlation_view.cpp
)
