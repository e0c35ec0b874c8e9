# Access databases over mdbtools.
list(APPEND PLATFORM_TEST_SOURCES
  access_database_test.cpp
  access_reader_test.cpp
  access_statement_test.cpp
)
