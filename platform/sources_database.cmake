# Access databases over mdbtools.
list(APPEND PLATFORM_SOURCES
  access_condition.cpp
  access_database.cpp
  access_statement.cpp
  access_values.cpp
)
