# System libraries bound on first call instead of at start (delay-loaded): a run that
# ends before it needs COM, the shell, GDI+, the common controls, HTTP, signatures or
# the account lists does not pay for loading them. For each library a delay-import
# library is made from the names the tool chain's import library exports.
#
# bootmark_delay_loaded(<out-var> <lib>...) sets <out-var> to link items that take
# the place of <lib>... The first library on the link line that defines a name wins:
# the import library itself follows its delay-import library only for what is no
# import (the static data some of them carry), and so do the tool chain's defaults.

function(bootmark_delay_loaded out)
  set(items)
  foreach(lib IN LISTS ARGN)
    set(target bootmark_delay_${lib})
    if(NOT TARGET ${target})
      find_library(BOOTMARK_IMPORT_LIB_${lib} NAMES ${lib} REQUIRED)
      execute_process(COMMAND ${CMAKE_NM} -g --defined-only ${BOOTMARK_IMPORT_LIB_${lib}}
                      OUTPUT_VARIABLE symbols COMMAND_ERROR_IS_FATAL ANY)
      # "I __imp_Name" (64-bit) or "I __imp__Name@8" (32-bit, stdcall).
      string(REGEX MATCHALL " I __imp__?[A-Za-z0-9_@?$]+" imports "${symbols}")
      set(def "LIBRARY ${lib}.dll\nEXPORTS\n")
      foreach(entry IN LISTS imports)
        string(REGEX REPLACE "^ I __imp_" "" name "${entry}")
        if(CMAKE_SIZEOF_VOID_P EQUAL 4)
          string(REGEX REPLACE "^_" "" name "${name}")
        endif()
        string(APPEND def "  ${name}\n")
      endforeach()
      set(dir ${CMAKE_BINARY_DIR}/delay_load)
      file(WRITE ${dir}/${lib}.def "${def}")
      set(archive ${dir}/lib${lib}_delay.a)
      add_custom_command(OUTPUT ${archive}
        COMMAND ${CMAKE_DLLTOOL} --input-def ${dir}/${lib}.def --dllname ${lib}.dll --kill-at
                --output-delaylib ${archive}
        DEPENDS ${dir}/${lib}.def VERBATIM)
      add_custom_target(${target}_archive DEPENDS ${archive})
      add_library(${target} STATIC IMPORTED GLOBAL)
      set_target_properties(${target} PROPERTIES IMPORTED_LOCATION ${archive} INTERFACE_LINK_LIBRARIES "delayimp;${lib}")
      add_dependencies(${target} ${target}_archive)
    endif()
    list(APPEND items ${target})
  endforeach()
  set(${out} ${items} PARENT_SCOPE)
endfunction()
