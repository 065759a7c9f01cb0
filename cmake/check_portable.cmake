# Fails when a portable-core source includes a Win32 header or a _win header.
# Every source outside the _win files of any folder is portable core (a resource script of
# a Win32 module is named _win.rc).
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
message(STATUS "portable core clean")
