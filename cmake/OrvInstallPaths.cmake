# The package's fixed locations, read from core/InstallPaths.h so that the install rules and the
# programs cannot disagree: every `inline constexpr const char kName[] = "value";` line of the
# header becomes the CMake variable ORV_PATH_kName (the value as written, trailing slash kept).
set(_orv_paths_header ${PROJECT_SOURCE_DIR}/core/InstallPaths.h)
set_property(DIRECTORY ${PROJECT_SOURCE_DIR} APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${_orv_paths_header})
file(STRINGS ${_orv_paths_header} _orv_path_lines
     REGEX "^inline constexpr const char k[A-Za-z]+\\[\\] = \"[^\"]*\";")
set(ORV_INSTALL_PATH_NAMES)
foreach(_line IN LISTS _orv_path_lines)
  string(REGEX REPLACE "^inline constexpr const char (k[A-Za-z]+)\\[\\] = \"([^\"]*)\";.*$" "\\1;\\2" _pair "${_line}")
  list(GET _pair 0 _name)
  list(GET _pair 1 _value)
  set(ORV_PATH_${_name} "${_value}")
  list(APPEND ORV_INSTALL_PATH_NAMES ${_name})
endforeach()

# The install rules need these; a header that no longer declares one of them is a build error
# rather than a package installed to the wrong place.
foreach(_needed kPackageShareDir kModelDataDir kConfDir kSpoolDir kSecurePrintSubdir kCompressLibDir
                kCompanionProgram)
  if(NOT DEFINED ORV_PATH_${_needed})
    message(FATAL_ERROR "core/InstallPaths.h no longer declares ${_needed} in the form the install rules read")
  endif()
endforeach()
