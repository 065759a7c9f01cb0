# GoogleTest for the test programs, as GTest::gtest and GTest::gtest_main. In order of choice:
#   ZELMAR_GTEST_ROOT           an installed GoogleTest built for this tree's target, made once
#                               per machine by scripts/prebuilt_gtest.sh (build.sh passes it)
#   ZELMAR_GTEST_FROM_SOURCE    built in this tree from the Debian sources (GTEST_SRC_DIR)
#   otherwise                   the system's library (the host tree: Debian's libgtest-dev)
set(ZELMAR_GTEST_ROOT "" CACHE PATH "Installed GoogleTest for this tree's target (scripts/prebuilt_gtest.sh)")

if(ZELMAR_GTEST_ROOT)
  find_package(GTest CONFIG REQUIRED PATHS ${ZELMAR_GTEST_ROOT} NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH)
elseif(ZELMAR_GTEST_FROM_SOURCE)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  add_subdirectory(${GTEST_SRC_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  add_library(GTest::gtest ALIAS gtest)
  add_library(GTest::gtest_main ALIAS gtest_main)
else()
  find_package(GTest REQUIRED)
endif()
