# Access databases over mdbtools.
list(APPEND PLATFORM_SOURCES
)
