# The install target: lays the package out as a user's machine has it (`cmake --install <build>`,
# with DESTDIR for a staging tree). The package's own locations come from core/InstallPaths.h
# (cmake/OrvInstallPaths.cmake); CUPS's locations are asked of cups-config.
include(${CMAKE_CURRENT_LIST_DIR}/OrvInstallPaths.cmake)

find_program(ORV_CUPS_CONFIG cups-config)
set(_orv_serverbin /usr/lib/cups)
set(_orv_datadir /usr/share/cups)
if(ORV_CUPS_CONFIG)
  execute_process(COMMAND ${ORV_CUPS_CONFIG} --serverbin OUTPUT_VARIABLE _orv_serverbin OUTPUT_STRIP_TRAILING_WHITESPACE)
  execute_process(COMMAND ${ORV_CUPS_CONFIG} --datadir OUTPUT_VARIABLE _orv_datadir OUTPUT_STRIP_TRAILING_WHITESPACE)
endif()
set(ORV_CUPS_FILTER_DIR ${_orv_serverbin}/filter CACHE PATH "Where CUPS runs filters from")
# cups-driverd lists the PPDs found under <datadir>/model.
set(ORV_CUPS_PPD_DIR ${_orv_datadir}/model/orvalen CACHE PATH "Where CUPS finds the driver's PPDs")
# The user CUPS runs filters as (cups-files.conf "User"): it writes the secure-print spool.
set(ORV_CUPS_USER lp CACHE STRING "The user CUPS runs filters as")

string(REGEX REPLACE "/$" "" _orv_data_dir "${ORV_PATH_kModelDataDir}")
string(REGEX REPLACE "/$" "" _orv_conf_dir "${ORV_PATH_kConfDir}")
string(REGEX REPLACE "/$" "" _orv_lib_dir "${ORV_PATH_kCompressLibDir}")
string(REGEX REPLACE "/$" "" _orv_spool_dir "${ORV_PATH_kSpoolDir}")
string(REGEX REPLACE "/$" "" _orv_secure_dir "${ORV_PATH_kSpoolDir}${ORV_PATH_kSecurePrintSubdir}")

set(_orv_program_perms OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(_orv_data_perms OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)

if(TARGET gdi-filter)
  orv_install_program(gdi-filter ${ORV_CUPS_FILTER_DIR})
endif()

# The companion program, where the settings program runs it from.
if(TARGET orv-companion)
  get_filename_component(_orv_companion_dir "${ORV_PATH_kCompanionProgram}" DIRECTORY)
  orv_install_program(orv-companion ${_orv_companion_dir})
endif()

# The binding loads <dir>/liborvjbig.so.1, then <dir>/liborvjbig.so.
install(TARGETS orvjbig LIBRARY DESTINATION ${_orv_lib_dir} PERMISSIONS ${_orv_program_perms})

# Model data files and colour tables, built in the build tree by the project's compilers.
file(GLOB _orv_model_sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/data/models/*.json)
foreach(_source IN LISTS _orv_model_sources)
  get_filename_component(_name ${_source} NAME_WE)
  install(FILES ${ORV_SAMPLE_MODEL_DIR}/${_name}.pcsp DESTINATION ${_orv_data_dir} PERMISSIONS ${_orv_data_perms})
endforeach()
file(GLOB _orv_table_sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/data/color-tables/*.json)
foreach(_source IN LISTS _orv_table_sources)
  get_filename_component(_name ${_source} NAME_WE)
  install(FILES ${ORV_COLOR_TABLE_OUTPUT_DIR}/L_${_name} DESTINATION ${_orv_data_dir} PERMISSIONS ${_orv_data_perms})
endforeach()

file(GLOB _orv_ppds CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/data/ppd/*.ppd)
install(FILES ${_orv_ppds} DESTINATION ${ORV_CUPS_PPD_DIR} PERMISSIONS ${_orv_data_perms})

# Directories whose modes matter: conf/ lets every user make their own subdirectory (sticky, so
# nobody removes another user's) and lets the filter read it; the secure-print spool belongs to
# the CUPS user and its group, and gets the mode 0770 that the filter gives every level of it: the
# held jobs carry their passwords, so other local users may neither read nor change them.
install(CODE "
  set(_root \"\$ENV{DESTDIR}\")
  foreach(_dir \"${_orv_conf_dir}\" \"${_orv_spool_dir}\" \"${_orv_secure_dir}\")
    file(MAKE_DIRECTORY \"\${_root}\${_dir}\")
  endforeach()
  execute_process(COMMAND chmod 1777 \"\${_root}${_orv_conf_dir}\" COMMAND_ERROR_IS_FATAL ANY)
  execute_process(COMMAND chmod 0770 \"\${_root}${_orv_spool_dir}\" \"\${_root}${_orv_secure_dir}\"
                  COMMAND_ERROR_IS_FATAL ANY)
  execute_process(COMMAND id -u OUTPUT_VARIABLE _uid OUTPUT_STRIP_TRAILING_WHITESPACE)
  if(_uid STREQUAL \"0\")
    execute_process(COMMAND chown ${ORV_CUPS_USER}: \"\${_root}${_orv_spool_dir}\" \"\${_root}${_orv_secure_dir}\"
                    COMMAND_ERROR_IS_FATAL ANY)
  else()
    message(STATUS \"Not root: ${_orv_spool_dir} left to the installing user; CUPS's user ${ORV_CUPS_USER} must own it\")
  endif()
  message(STATUS \"Directories: ${_orv_conf_dir} (1777), ${_orv_secure_dir} (0770, ${ORV_CUPS_USER} and its group)\")
")
