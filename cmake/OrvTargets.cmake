# Helpers that keep the per-folder CMake files short.

# orv_add_library(<name> <dir>): a static library of every .cpp file under <dir> (recursively).
function(orv_add_library name dir)
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS "${dir}/*.cpp" "${dir}/*.c")
  add_library(${name} STATIC ${sources})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
endfunction()

# orv_add_test_dir(<name> <dir> LIBS <libs...>): one GoogleTest program of every *_test.cpp file
# in <dir>, registered test by test with CTest.
function(orv_add_test_dir name dir)
  cmake_parse_arguments(ARG "" "" "LIBS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS "${dir}/*_test.cpp")
  if(NOT sources)
    return()
  endif()
  add_executable(${name} ${sources})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR} ${PROJECT_SOURCE_DIR}/tests)
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} orvtestsupport GTest::gtest GTest::gtest_main GTest::gmock)
  # Every test file includes GoogleTest; compiling its headers once per program saves most
  # of the test build time.
  target_precompile_headers(${name} PRIVATE <gtest/gtest.h>)
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 300)
endfunction()
