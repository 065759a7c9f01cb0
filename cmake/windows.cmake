# Windows build (mingw-w64): the program, the Win32 edge and the tests run under Wine.
enable_language(RC)
option(ZELMAR_WIN_TESTS "Build the Windows test executables" ON)

add_compile_definitions(WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601 WINVER=0x0601)
# Self-contained executables: no mingw runtime DLLs to ship or to find under Wine.
set(STATIC_RT -static -static-libgcc -static-libstdc++)
# winhttp, shlwapi and crypt32 serve the calendar sync; a program imports them only when it
# calls them.
set(WIN_LIBS comctl32 comdlg32 gdi32 user32 shell32 advapi32 winmm winhttp shlwapi crypt32)
include(cmake/delay_load.cmake)

if(EDGE_SRC)
  add_library(zedge STATIC ${EDGE_SRC})
  target_link_libraries(zedge PUBLIC zcore ${WIN_LIBS})
  target_compile_options(zedge PRIVATE ${WARN})
else()
  add_library(zedge INTERFACE)
  target_link_libraries(zedge INTERFACE zcore ${WIN_LIBS})
endif()

# An image plug-in: a DLL <OUTPUT_NAME>.SPI in DIRECTORY built from SOURCES.
# image/plugin_api.def lists the entry points by their plain names; on i686 the linker
# matches them to the stdcall symbols, so the exports carry no decoration.
function(add_image_plugin target)
  cmake_parse_arguments(P "" "OUTPUT_NAME;DIRECTORY" "SOURCES;DEFINITIONS" ${ARGN})
  add_library(${target} SHARED ${P_SOURCES} ${CMAKE_SOURCE_DIR}/image/plugin_api.def)
  set_target_properties(${target} PROPERTIES PREFIX "" SUFFIX ".SPI" OUTPUT_NAME ${P_OUTPUT_NAME}
                        RUNTIME_OUTPUT_DIRECTORY ${P_DIRECTORY})
  target_compile_definitions(${target} PRIVATE ${P_DEFINITIONS})
  target_compile_options(${target} PRIVATE ${WARN})
  target_link_options(${target} PRIVATE ${STATIC_RT} -Wl,--enable-stdcall-fixup -Wl,--subsystem,windows)
endfunction()

# The image plug-in that comes with the program (PNG, JPEG, GIF, TIFF through the platform's
# imaging component), built beside Zelmar.exe in every tree. Its core is in zcore.
file(GLOB ZIMAGE_SRC CONFIGURE_DEPENDS image/zimage/*_win.cpp image/zimage/*_win.rc)
add_image_plugin(zimage OUTPUT_NAME ZIMAGE DIRECTORY ${CMAKE_BINARY_DIR} SOURCES ${ZIMAGE_SRC})
target_link_libraries(zimage PRIVATE zcore ole32 windowscodecs uuid)

# The program's sources without WinMain, so that the tests and benchmarks drive its window code
# in-process; the program itself is WinMain with this library, compiled once for all of them.
set(APP_LIB_SRC ${APP_SRC})
list(FILTER APP_LIB_SRC EXCLUDE REGEX "winmain_win\\.cpp$")
add_library(zapp STATIC ${APP_LIB_SRC})
target_link_libraries(zapp PUBLIC zedge)
target_compile_options(zapp PRIVATE ${WARN})

# Compile time: nearly every source of the Win32 edge and of the program's window code parses
# <windows.h> (most of its compile), so each library compiles it once, with <commctrl.h> and
# the standard headers they mostly use, as a precompiled header (-fpch-preprocess: a compiler
# cache keeps what it compiles). Both are compiled with the same flags, so the window code uses
# the edge's. The program's other targets have one source or two: a precompiled header does
# not pay there.
if(EDGE_SRC)
  target_precompile_headers(zedge PRIVATE <windows.h> <commctrl.h> <cstdint> <cstdio> <cstring>
                            <memory> <new> <string> <vector>)
  target_precompile_headers(zapp REUSE_FROM zedge)
  set_target_properties(zedge zapp PROPERTIES ${ZELMAR_UNITY})
  target_compile_options(zedge PRIVATE -fpch-preprocess)
  target_compile_options(zapp PRIVATE -fpch-preprocess)
endif()

file(GLOB RC_SRC CONFIGURE_DEPENDS resources/*.rc)
add_executable(Zelmar WIN32 app/winmain_win.cpp ${RC_SRC})
target_link_libraries(Zelmar PRIVATE zapp)
target_compile_options(Zelmar PRIVATE ${WARN})
target_link_options(Zelmar PRIVATE ${STATIC_RT})
set_property(TARGET Zelmar PROPERTY OUTPUT_NAME Zelmar)
# The scripts pull in the manifest, icon, bitmap, id and version headers: a change to any of
# them compiles them again.
file(GLOB RC_DEPS CONFIGURE_DEPENDS resources/*.manifest resources/*.ico resources/*.bmp resources/*.h)
set_source_files_properties(${RC_SRC} image/zimage/zimage_win.rc PROPERTIES COMPILE_FLAGS "-c 65001"
                            OBJECT_DEPENDS "${RC_DEPS}")

if(ZELMAR_WIN_TESTS)
  # GoogleTest cross-compiled for this target (no system library for it): prebuilt for the
  # machine or built here from the Debian sources.
  set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
  set(ZELMAR_GTEST_FROM_SOURCE ON)
  include(cmake/gtest.cmake)

  file(GLOB WIN_TEST_SRC CONFIGURE_DEPENDS tests/win/*.cpp)
  add_executable(win_tests ${WIN_TEST_SRC} ${RC_SRC})
  target_link_libraries(win_tests PRIVATE zapp GTest::gtest GTest::gtest_main version ws2_32)  # ws2_32: the HTTP tests' own server
  target_compile_options(win_tests PRIVATE ${TEST_OPT})
  zelmar_test_headers(win_tests <windows.h> <gtest/gtest.h> <cstdint> <cstring> <string> <vector>)
  target_link_options(win_tests PRIVATE ${STATIC_RT})
  # In batches, as the libraries: a helper two test sources need alike goes into a shared
  # test header (tests/win/*.h, tests/e2e/checks.h).
  set_target_properties(win_tests PROPERTIES ${ZELMAR_UNITY})

  # End-to-end driver: a console program that starts Zelmar.exe and drives it by messages.
  file(GLOB E2E_SRC CONFIGURE_DEPENDS tests/e2e/*.cpp)
  if(E2E_SRC)
    add_executable(e2e_driver ${E2E_SRC})
    target_include_directories(e2e_driver PRIVATE ${CMAKE_SOURCE_DIR})
    # ole32: the screen-reader client (the accessibility library itself is loaded at run time).
    target_link_libraries(e2e_driver PRIVATE zcore ${WIN_LIBS} ole32)
    target_compile_options(e2e_driver PRIVATE ${TEST_OPT})
    zelmar_test_headers(e2e_driver <windows.h> <cstdint> <cstring> <string> <vector>)
    target_link_options(e2e_driver PRIVATE ${STATIC_RT})
    set_target_properties(e2e_driver PROPERTIES ${ZELMAR_UNITY})
  endif()

  # The calendar sync driven against a real calendar server and a real web server by
  # tests/dav/test_dav.py (the end-to-end layer runs it).
  add_executable(dav_tool tests/dav/dav_tool.cpp)
  target_include_directories(dav_tool PRIVATE ${CMAKE_SOURCE_DIR})
  target_link_libraries(dav_tool PRIVATE zedge crypt32 psapi)
  target_link_options(dav_tool PRIVATE ${STATIC_RT})

  # The program with the end-to-end tests' seams (a clock a test moves, a short snooze),
  # started by the driver beside Zelmar.exe; never shipped.
  file(GLOB SEAM_SRC CONFIGURE_DEPENDS tests/seam/*_win.cpp)
  add_executable(ZelmarSeam WIN32 ${SEAM_SRC} ${RC_SRC})
  target_link_libraries(ZelmarSeam PRIVATE zapp)
  target_link_options(ZelmarSeam PRIVATE ${STATIC_RT})

  # The tests' own image plug-in, once per behaviour, all in build/<tree>/test_plugins.
  set(TEST_PLUGINS ZTGOOD:0 ZTKIND:1 ZTNOFMT:2 ZTFAIL:3 ZTSHORT:4 ZTLONG:5 ZTHANDED:6)
  foreach(p ${TEST_PLUGINS})
    string(REPLACE ":" ";" parts ${p})
    list(GET parts 0 pname)
    list(GET parts 1 pbehaviour)
    add_image_plugin(plugin_${pname} OUTPUT_NAME ${pname} DIRECTORY ${CMAKE_BINARY_DIR}/test_plugins
                     SOURCES tests/plugin/test_plugin_win.cpp DEFINITIONS ZT_BEHAVIOUR=${pbehaviour})
    add_dependencies(win_tests plugin_${pname})
  endforeach()
  add_dependencies(win_tests zimage Zelmar)  # read by the tests from the build tree
  # What the end-to-end layer runs: the driver and the programs it starts (run.sh builds the
  # driver alone for its screenshot).
  if(TARGET e2e_driver)
    add_custom_target(e2e)
    add_dependencies(e2e e2e_driver zimage Zelmar ZelmarSeam)
  endif()

  # Benchmarks are built by scripts/bench.sh (target benchmarks), not with the tree.
  add_custom_target(benchmarks)

  file(GLOB BENCH_SRC CONFIGURE_DEPENDS tests/bench/*.cpp)
  foreach(src ${BENCH_SRC})
    get_filename_component(name ${src} NAME_WE)
    # With the resources: some benchmarks open the program's dialogs. The imaging component
    # writes the photo-sized pictures.
    add_executable(${name} EXCLUDE_FROM_ALL ${src} ${RC_SRC})
    add_dependencies(benchmarks ${name})
    target_link_libraries(${name} PRIVATE zapp ole32 windowscodecs psapi uuid)
    target_link_options(${name} PRIVATE ${STATIC_RT})
  endforeach()

  # What the start-up benchmark starts: a bare window, the same with the program's resources
  # (its manifest asks for the common controls 6), the same calling the common dialogs,
  # common controls and shell after its first paint (imported at start, delay-loaded, or
  # through the program's wrappers), and the program linked with delay-load libraries.
  set(BARE_SRC tests/bench/bare/bare_window.cpp)
  add_executable(bench_bare_window WIN32 EXCLUDE_FROM_ALL ${BARE_SRC})
  target_compile_definitions(bench_bare_window PRIVATE BARE_USES=0)
  add_executable(bench_bare_manifest WIN32 EXCLUDE_FROM_ALL ${BARE_SRC} ${RC_SRC})
  target_compile_definitions(bench_bare_manifest PRIVATE BARE_USES=0)
  add_executable(bench_bare_eager WIN32 EXCLUDE_FROM_ALL ${BARE_SRC} ${RC_SRC})
  target_compile_definitions(bench_bare_eager PRIVATE BARE_USES=1)
  target_link_libraries(bench_bare_eager PRIVATE comctl32 comdlg32 shell32)
  add_executable(bench_bare_delay WIN32 EXCLUDE_FROM_ALL ${BARE_SRC} ${RC_SRC})
  target_compile_definitions(bench_bare_delay PRIVATE BARE_USES=1)
  zelmar_delay_load(bench_bare_delay comctl32 comdlg32 shell32)
  add_executable(bench_bare_lazy WIN32 EXCLUDE_FROM_ALL ${BARE_SRC} config/system_dlls_win.cpp ${RC_SRC})
  target_compile_definitions(bench_bare_lazy PRIVATE BARE_USES=2)
  set(BARE_TARGETS bench_bare_window bench_bare_manifest bench_bare_eager bench_bare_delay bench_bare_lazy)
  foreach(t ${BARE_TARGETS})
    target_include_directories(${t} PRIVATE ${CMAKE_SOURCE_DIR})
    target_link_options(${t} PRIVATE ${STATIC_RT})
  endforeach()
  add_executable(Zelmar_delay WIN32 EXCLUDE_FROM_ALL app/winmain_win.cpp ${RC_SRC})
  # The delay-load libraries after every library that calls into them.
  target_link_libraries(Zelmar_delay PRIVATE zapp zedge zcore)
  zelmar_delay_load(Zelmar_delay comctl32 comdlg32 shell32)
  target_link_options(Zelmar_delay PRIVATE ${STATIC_RT})
  if(TARGET bench_startup)
    add_dependencies(bench_startup Zelmar Zelmar_delay zimage ${BARE_TARGETS})
  endif()
  if(TARGET bench_resize)
    add_dependencies(bench_resize zimage)
  endif()
endif()
