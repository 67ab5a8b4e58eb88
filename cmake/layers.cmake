# The layers of src/: one library per folder, linked only to the layers that the
# layer table of docs/ARCHITECTURE.md lets it use. That table is the one place the
# allowed dependencies are written; tools/check-layers reads the same table and
# fails on an #include that crosses a wall the wrong way.
#
# Each row of the table reads "| `folder` | `used`, `used` | what lives there |".
# A folder with sources becomes the static library bootmark_<folder> ("/" as "_"),
# a folder of headers only an interface library. Folders ending in "/win32" hold
# the code that includes <windows.h> and are built for Windows only. main.cpp is
# the program's entry and goes into the executable, not into a library.

function(bootmark_read_layer_table doc)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${doc})
  file(READ ${doc} text)
  string(FIND "${text}" "<!-- layers: begin -->" first)
  string(FIND "${text}" "<!-- layers: end -->" last)
  if(first EQUAL -1 OR last EQUAL -1)
    message(FATAL_ERROR "${doc} has no layer table")
  endif()
  math(EXPR length "${last} - ${first}")
  string(SUBSTRING "${text}" ${first} ${length} table)
  string(REPLACE "\n" ";" rows "${table}")
  set(layers "")
  foreach(row IN LISTS rows)
    if(row MATCHES "^\\| `([a-z0-9_/]+)` \\|([^|]*)\\|")
      set(layer ${CMAKE_MATCH_1})
      string(REGEX MATCHALL "`[a-z0-9_/]+`" used "${CMAKE_MATCH_2}")
      string(REPLACE "`" "" used "${used}")
      list(APPEND layers ${layer})
      string(REPLACE "/" "_" id ${layer})
      set(BOOTMARK_LAYER_USES_${id} ${used} PARENT_SCOPE)
    endif()
  endforeach()
  set(BOOTMARK_LAYERS ${layers} PARENT_SCOPE)
endfunction()

# Creates the library of every layer this build needs. Sets BOOTMARK_LAYER_TARGETS
# to the static libraries made (for options that apply to all program code).
function(bootmark_add_layers)
  set(targets "")
  foreach(layer IN LISTS BOOTMARK_LAYERS)
    if(layer MATCHES "/win32$" AND NOT WIN32)
      continue()
    endif()
    string(REPLACE "/" "_" id ${layer})
    file(GLOB sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/src/${layer}/*.cpp)
    list(FILTER sources EXCLUDE REGEX "/main\\.cpp$")
    if(sources)
      add_library(bootmark_${id} STATIC ${sources})
      set(scope PUBLIC)
      list(APPEND targets bootmark_${id})
    else()
      add_library(bootmark_${id} INTERFACE)
      set(scope INTERFACE)
    endif()
    target_include_directories(bootmark_${id} ${scope} ${PROJECT_SOURCE_DIR}/src)
    foreach(used IN LISTS BOOTMARK_LAYER_USES_${id})
      string(REPLACE "/" "_" usedId ${used})
      target_link_libraries(bootmark_${id} ${scope} bootmark_${usedId})
    endforeach()
  endforeach()
  set(BOOTMARK_LAYER_TARGETS ${targets} PARENT_SCOPE)
endfunction()
