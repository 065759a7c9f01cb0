# Cross toolchain: mingw-w64 for x86_64 Windows (runs here under wine64).
set(ZELMAR_MINGW_ARCH x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
