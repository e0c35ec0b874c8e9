# The scheme, user-formula, peak and scoring pages as the main window knows them: their
# flags and the fields the job hook reads.
list(APPEND FITTING_PAGES_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/xystatistic_page.cpp
  ${CMAKE_CURRENT_LIST_DIR}/multistat_page.cpp
  ${CMAKE_CURRENT_LIST_DIR}/sinaldlg_page.cpp
  ${CMAKE_CURRENT_LIST_DIR}/useruf_page.cpp
  ${CMAKE_CURRENT_LIST_DIR}/parameters_of_multi_search1.cpp
  ${CMAKE_CURRENT_LIST_DIR}/scorereport.cpp
  ${CMAKE_CURRENT_LIST_DIR}/scoring_run.cpp
)
