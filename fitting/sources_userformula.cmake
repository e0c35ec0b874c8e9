# The user-formula scheme of the single-argument views.
list(APPEND FITTING_PAGES_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/user_formula_scheme.cpp
)
