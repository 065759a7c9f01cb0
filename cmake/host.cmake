# Host (Linux) build: the portable core under GoogleTest with ASan and UBSan. The 32-bit
# tree (cmake/i686-linux.cmake) takes UBSan alone (AddressSanitizer does not run under
# qemu-user) and a GoogleTest built for i686 (the system's library is 64-bit): the one
# scripts/prebuilt_gtest.sh made for the machine, or one built from its sources.
option(ZELMAR_SANITIZE "Build host tests with sanitizers" ON)
set(ZELMAR_SANITIZERS "address,undefined" CACHE STRING "Sanitizers of the host tests")
option(ZELMAR_GTEST_FROM_SOURCE "Build GoogleTest from GTEST_SRC_DIR" OFF)
option(ZELMAR_FUZZ "Build libFuzzer targets (needs clang)" OFF)

if(ZELMAR_SANITIZE)
  set(SAN -fsanitize=${ZELMAR_SANITIZERS} -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
  target_compile_options(zcore PRIVATE ${SAN})
  target_link_options(zcore PUBLIC ${SAN})
endif()

include(cmake/gtest.cmake)
file(GLOB HOST_TEST_SRC CONFIGURE_DEPENDS tests/host/*.cpp)
add_executable(host_tests ${HOST_TEST_SRC})
target_link_libraries(host_tests PRIVATE zcore GTest::gtest GTest::gtest_main)
target_compile_options(host_tests PRIVATE ${WARN} ${SAN} ${TEST_OPT})
zelmar_test_headers(host_tests <gtest/gtest.h> <cstdint> <cstring> <string> <vector>)
# In batches, as the core: each test source spends most of its compile generating the same
# inline templates, and the tests are built in two trees.
set_target_properties(host_tests PROPERTIES ${ZELMAR_UNITY})
# The calendar-server readers are tested through a real XML parser (libxml2, tests/host/
# xml_host_parser.h). The 32-bit tree has no libxml2 for its target and leaves those out.
find_package(LibXml2)
if(LibXml2_FOUND)
  target_link_libraries(host_tests PRIVATE LibXml2::LibXml2)
  target_compile_definitions(host_tests PRIVATE ZELMAR_HOST_XML=1)
endif()
enable_testing()
add_test(NAME host_tests COMMAND host_tests)

# The calendar file of a full schedule and what each event must show, for the check by an
# independent iCalendar reader (tests/interop/check_ical.py, run by the host layer).
add_executable(ical_interop_dump tests/interop/ical_interop_dump.cpp)
target_link_libraries(ical_interop_dump PRIVATE zcore)
target_compile_options(ical_interop_dump PRIVATE ${WARN} ${SAN})

# Repeating entries of every kind and their days 1980..2079, for the check against an
# independent expansion of the same rules (tests/interop/check_repeat.py, run by the host layer).
add_executable(repeat_dump tests/interop/repeat_dump.cpp)
target_link_libraries(repeat_dump PRIVATE zcore)
target_compile_options(repeat_dump PRIVATE ${WARN} ${SAN})

# The old calendar's days 1980..2079 as the program shows them, for the check against an
# independent astronomical computation (tests/interop/check_almanac.py, run by the host layer).
add_executable(almanac_dump tests/interop/almanac_dump.cpp)
target_link_libraries(almanac_dump PRIVATE zcore)
target_compile_options(almanac_dump PRIVATE ${WARN} ${SAN})

# Guard: the portable core must never include <windows.h> (or any Win32 header), and no
# layer includes one above it.
add_test(NAME core_is_portable
         COMMAND ${CMAKE_COMMAND} -DROOT=${CMAKE_SOURCE_DIR} -P ${CMAKE_SOURCE_DIR}/cmake/check_portable.cmake)
# The guard on a tree with two upward includes names both and passes the downward one.
set(upward_tree ${CMAKE_BINARY_DIR}/upward_include_tree)
file(WRITE ${upward_tree}/schedule/up.cpp "#include \"schedule/entry.h\"\n  #  include \"dialogs/schedule_fields.h\"\n")
file(WRITE ${upward_tree}/dialogs/up_win.cpp "#include <windows.h>\n#include \"app/main_state_win.h\"\n")
file(WRITE ${upward_tree}/image/down.cpp "#include \"config/cp932.h\"\n")
add_test(NAME core_is_portable_refuses_upward_includes
         COMMAND ${CMAKE_COMMAND} -DROOT=${upward_tree} -P ${CMAKE_SOURCE_DIR}/cmake/check_portable.cmake)
set_tests_properties(core_is_portable_refuses_upward_includes PROPERTIES
                     PASS_REGULAR_EXPRESSION "run upward:.*schedule/up\\.cpp.*dialogs/up_win\\.cpp"
                     FAIL_REGULAR_EXPRESSION "down\\.cpp")

if(ZELMAR_FUZZ)
  file(GLOB FUZZ_SRC CONFIGURE_DEPENDS tests/fuzz/*.cpp)
  foreach(src ${FUZZ_SRC})
    get_filename_component(name ${src} NAME_WE)
    add_executable(${name} ${src} ${CORE_SRC})
    target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR})
    # Undefined behaviour stops the run like any other finding. Optimised whatever the
    # build type: a campaign runs millions of inputs.
    target_compile_options(${name} PRIVATE -O2 -g -fsanitize=fuzzer,address,undefined
                           -fno-sanitize-recover=undefined)
    target_link_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined
                        -fno-sanitize-recover=undefined)
    if(name MATCHES "^fuzz_dav_")
      find_package(LibXml2 REQUIRED)
      target_link_libraries(${name} PRIVATE LibXml2::LibXml2)
    endif()
    # Small image bound: huge declared sizes are refused alike, and every input runs fast
    # (the bitmap target, which decodes and reduces every input several times, smaller still).
    # The limits target keeps the program's bound and counts its blocks instead.
    if(name STREQUAL "fuzz_bitmap")
      target_compile_definitions(${name} PRIVATE ZELMAR_MAX_PIXEL_BYTES=16384)
    elseif(NOT name STREQUAL "fuzz_image_limits")
      target_compile_definitions(${name} PRIVATE ZELMAR_MAX_PIXEL_BYTES=1048576)
    endif()
  endforeach()
endif()
