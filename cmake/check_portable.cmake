# Fails when a portable-core source includes a Win32 header or a _win header, or when a
# lower layer includes a higher one.
# Every source outside the _win files of any folder is portable core (a resource script of
# a Win32 module is named _win.rc).
# Layers, from the bottom: calendar/ config/ image/ schedule/, then dialogs/, then app/. No
# file of the four below (their _win files too) includes dialogs/ or app/, and no file of
# dialogs/ includes app/: what a dialog or the program needs from below is handed down.
file(GLOB_RECURSE files
     ${ROOT}/calendar/* ${ROOT}/schedule/* ${ROOT}/config/* ${ROOT}/image/*
     ${ROOT}/app/* ${ROOT}/dialogs/*)
set(bad "")
foreach(f ${files})
  if(f MATCHES "_win\\.(cpp|h|rc)$")
    continue()
  endif()
  file(STRINGS ${f} lines REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"]((windows|winuser|wingdi|winbase|windef|mmsystem|commctrl|shellapi|commdlg|shlobj|objbase|wincodec)\\.h|[^\">]*_win\\.h)[>\"]")
  if(lines)
    list(APPEND bad ${f})
  endif()
endforeach()
if(bad)
  message(FATAL_ERROR "Win32 headers in portable core: ${bad}")
endif()

set(include_of "^[ \t]*#[ \t]*include[ \t]*[<\"]")
set(upward "")
foreach(layer calendar schedule config image dialogs)
  if(layer STREQUAL "dialogs")
    set(above "app")
  else()
    set(above "(dialogs|app)")
  endif()
  file(GLOB_RECURSE layer_files ${ROOT}/${layer}/*)
  foreach(f ${layer_files})
    file(STRINGS ${f} lines REGEX "${include_of}${above}/")
    if(lines)
      list(APPEND upward "${f}: ${lines}")
    endif()
  endforeach()
endforeach()
if(upward)
  message(FATAL_ERROR "Includes that run upward: ${upward}")
endif()
message(STATUS "portable core clean, layers include downward only")
