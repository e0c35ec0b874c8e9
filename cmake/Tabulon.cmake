# Helpers that keep the per-folder CMakeLists short.
#
# tabulon_core_library(NAME SOURCES ... [HEADERS ...] [LINKS ...])
#   A Qt-free static library of numeric or data code. It may link and include only core targets
#   below it in TABULON_CORE_ORDER (top-level CMakeLists.txt).
# tabulon_ui_library(NAME SOURCES ...)
#   Windows, pages and painters. Built as an object library because pages, the main
#   window and the painters call each other; every program or GUI test links them all
#   through tabulon_link_ui().

set_property(GLOBAL PROPERTY TABULON_UI_LIBS "")

function(tabulon_core_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;HEADERS;LINKS" ${ARGN})
  # Listed for the layering check (tests/check_layers.py): each file with its target, and the
  # target with the core targets it links. A header with a source file of its own belongs to that
  # source's target; HEADERS names the plain records that have none.
  foreach(src IN LISTS ARG_SOURCES ARG_HEADERS)
    set_property(GLOBAL APPEND PROPERTY TABULON_CORE_SOURCES "file ${name} ${CMAKE_CURRENT_SOURCE_DIR}/${src}")
  endforeach()
  list(JOIN ARG_LINKS " " links)
  set_property(GLOBAL APPEND PROPERTY TABULON_CORE_SOURCES "links ${name} ${links}")
  if(ARG_SOURCES)
    add_library(${name} STATIC ${ARG_SOURCES} ${ARG_HEADERS})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
    target_link_libraries(${name} PUBLIC ${ARG_LINKS})
  else()
    # Headers only: an interface target carries the include path and the links.
    add_library(${name} INTERFACE ${ARG_HEADERS})
    target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR})
    target_link_libraries(${name} INTERFACE ${ARG_LINKS})
  endif()
endfunction()

function(tabulon_ui_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES" ${ARGN})
  if(NOT ARG_SOURCES)
    return()
  endif()
  add_library(${name} OBJECT ${ARG_SOURCES})
  set_target_properties(${name} PROPERTIES AUTOMOC ON)
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC platform tabulon_cores)
  set_property(GLOBAL APPEND PROPERTY TABULON_UI_LIBS ${name})
endfunction()

# Links every window/page object library, the platform layer and the cores.
function(tabulon_link_ui target)
  get_property(libs GLOBAL PROPERTY TABULON_UI_LIBS)
  foreach(lib IN LISTS libs)
    target_link_libraries(${target} PRIVATE ${lib})
  endforeach()
  target_link_libraries(${target} PRIVATE platform tabulon_cores)
endfunction()
