# Helpers that keep the per-folder CMake files short.

# orv_add_library(<name> <dir>): a static library of every .cpp file under <dir> (recursively).
function(orv_add_library name dir)
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS "${dir}/*.cpp" "${dir}/*.c")
  add_library(${name} STATIC ${sources})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
endfunction()

# orv_add_test_root_twin(<program>): an installed program knows only the fixed locations of
# core/InstallPaths.h. Tests that run a program against a scratch tree run its twin
# <program>-testroot instead: the same sources and libraries, honouring ORVALEN_TEST_ROOT. Twins are
# made only while ORV_TEST_ROOT_OVERRIDE is on and are installed only on request (orv_install_program).
function(orv_add_test_root_twin program)
  set_target_properties(${program} PROPERTIES ORV_FIXED_INSTALL_PATHS ON)
  if(NOT ORV_TEST_ROOT_OVERRIDE)
    return()
  endif()
  get_target_property(sources ${program} SOURCES)
  get_target_property(libraries ${program} LINK_LIBRARIES)
  add_executable(${program}-testroot ${sources})
  target_link_libraries(${program}-testroot PRIVATE ${libraries})
  foreach(property ENABLE_EXPORTS COMPILE_DEFINITIONS INCLUDE_DIRECTORIES)
    get_target_property(value ${program} ${property})
    if(value)
      set_target_properties(${program}-testroot PROPERTIES ${property} "${value}")
    endif()
  endforeach()
endfunction()

# orv_install_program(<program> <destination>): installs the program (mode 0755). Its test-root
# twin, when there is one, goes to the same place under the same name only with
# `cmake --install <build> --component orv-test-root`, run after the normal install by tests that
# stage the package in a scratch tree.
function(orv_install_program program destination)
  install(TARGETS ${program} RUNTIME DESTINATION ${destination}
          PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
  if(TARGET ${program}-testroot)
    get_target_property(name ${program} OUTPUT_NAME)
    if(NOT name)
      set(name ${program})
    endif()
    # The installed program goes first: install() skips a file whose time stamp matches, and the
    # two programs are often linked within the same instant.
    install(CODE "file(REMOVE \"\$ENV{DESTDIR}${destination}/${name}\")" COMPONENT orv-test-root EXCLUDE_FROM_ALL)
    install(PROGRAMS $<TARGET_FILE:${program}-testroot> DESTINATION ${destination} RENAME ${name}
            COMPONENT orv-test-root EXCLUDE_FROM_ALL)
  endif()
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
