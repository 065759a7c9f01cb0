# Cross toolchain: mingw-w64 for i686 Windows (the release).
set(ZELMAR_MINGW_ARCH i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
