# Access databases over mdbtools, read in a reader process of our own.
list(APPEND PLATFORM_SOURCES
  access_condition.cpp
  access_database.cpp
  access_reader_process.cpp
  access_reader_protocol.cpp
  access_statement.cpp
  access_values.cpp
)
