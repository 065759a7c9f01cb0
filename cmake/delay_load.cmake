# Delay-load import libraries: a program linked with them loads the DLL at the first call of
# one of its functions instead of at start (the helper comes from the mingw-w64 runtime's
# libdelayimp). cmake/delayload/<dll>.def lists the functions with their i686 stdcall
# decorations; the x86_64 library takes the names without them.
#
# On i686 the linker drops the call thunk of an import that no object names by its direct
# symbol (the code calls through __imp_), which leaves the import slot empty and the first
# call jumping to address 0. Every thunk is therefore named on the link line with -u.

# zelmar_delay_load(<target> <dll>...): links target with the delay-load libraries of the
# DLLs. List it after every library that calls them and before the plain import libraries.
function(zelmar_delay_load target)
  set(items "")
  foreach(dll ${ARGN})
    set(def_in ${CMAKE_SOURCE_DIR}/cmake/delayload/${dll}.def)
    set(def ${CMAKE_BINARY_DIR}/delayload/${dll}.def)
    set(lib ${CMAKE_BINARY_DIR}/delayload/lib${dll}_delay.a)
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${def_in})
    file(STRINGS ${def_in} lines)
    set(text "")
    foreach(line ${lines})
      if(line MATCHES "^([A-Za-z_][A-Za-z0-9_]*)@([0-9]+)$")
        if(CMAKE_SIZEOF_VOID_P EQUAL 4)
          string(APPEND text "${line}\n")
          target_link_options(${target} PRIVATE "-Wl,-u,_${line}")
        else()
          string(APPEND text "${CMAKE_MATCH_1}\n")
        endif()
      else()
        string(APPEND text "${line}\n")
      endif()
    endforeach()
    file(WRITE ${def}.in "${text}")
    configure_file(${def}.in ${def} COPYONLY)
    set(kill_at "")
    if(CMAKE_SIZEOF_VOID_P EQUAL 4)
      set(kill_at -k)
    endif()
    if(NOT TARGET delayload_${dll})
      # Made in its own folder under a plain name: dlltool names its symbols after the file.
      add_custom_command(OUTPUT ${lib}
                         COMMAND ${CMAKE_DLLTOOL} -d ${dll}.def -y lib${dll}_delay.a -D ${dll}.dll ${kill_at}
                         WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/delayload
                         DEPENDS ${def} ${def_in}
                         COMMENT "delay-load import library for ${dll}.dll")
      add_custom_target(delayload_${dll} DEPENDS ${lib})
    endif()
    add_dependencies(${target} delayload_${dll})
    list(APPEND items ${lib})
  endforeach()
  target_link_libraries(${target} PRIVATE ${items} delayimp)
endfunction()
