# Variants of the colour sample model for the Job type page's tests, made at build time from the
# model's readable description: each variant is the description with some records replaced, then
# compiled by spc-compile like the samples.
#
#   GC73FULL   a department code typed to its full length (filter 0x1005, 6 digits); job kind 2
#              needs the duplex unit; kinds 2 and 3 use a user id and a password (kind 2: 16 and 4
#              characters, kind 3: 12 letters or digits and 6 digits); the job information entries
#              (capability 79)
#   GC73LONG   a full-length department code longer than the settings record can hold (40)
#   GC73UNUSED a full-length department code that the model offers but does not use
set(_jt_source ${PROJECT_SOURCE_DIR}/data/models/GC7350.json)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${_jt_source})
file(READ ${_jt_source} _jt_colour)

set(_jt_dept "\"raw\": [5, 0, 4097, 8, {\"text\": \"0123456789\", \"size\": 32}]")
set(_jt_kind2 "{\"id\": 73, \"about\": \"job kind 2 (hold)\", \"raw\": [1, 0, 1, 16, 1, {\"text\": \"\", \"size\": 32}, 1, 8, {\"text\": \"\", \"size\": 32}]},")
set(_jt_kind3 "\"raw\": [1, 1, 1, 16, 1, {\"text\": \"\", \"size\": 32}, 1, 8, {\"text\": \"\", \"size\": 32}]\n")
set(_jt_cap79 "{\"id\": 79, \"raw\": [0, 0, 0, 0]}")

# _jt_variant(<name> <from> <to> [<from> <to>...]): writes <name>.json with each text replaced
# (each must occur, so a changed sample description is noticed) and compiles it.
set(_jt_outputs)
function(_jt_variant name)
  set(text "${_jt_colour}")
  set(pairs ${ARGN})
  list(LENGTH pairs count)
  math(EXPR last "${count} - 1")
  foreach(i RANGE 0 ${last} 2)
    math(EXPR j "${i} + 1")
    list(GET pairs ${i} from)
    list(GET pairs ${j} to)
    string(FIND "${text}" "${from}" at)
    if(at EQUAL -1)
      message(FATAL_ERROR "model variant ${name}: the colour model no longer holds ${from}")
    endif()
    string(REPLACE "${from}" "${to}" text "${text}")
  endforeach()
  set(json ${CMAKE_CURRENT_BINARY_DIR}/jobtype-models/${name}.json)
  set(pcsp ${CMAKE_CURRENT_BINARY_DIR}/jobtype-models/${name}.pcsp)
  file(WRITE ${json}.new "${text}")
  configure_file(${json}.new ${json} COPYONLY)
  add_custom_command(OUTPUT ${pcsp} COMMAND spc-compile ${json} ${pcsp} DEPENDS spc-compile ${json}
                     COMMENT "Compiling test model ${name}.pcsp")
  set(_jt_outputs ${_jt_outputs} ${pcsp} PARENT_SCOPE)
endfunction()

_jt_variant(GC73FULL
  "${_jt_dept}" "\"raw\": [5, 0, 4101, 6, {\"text\": \"0123456789\", \"size\": 32}]"
  "${_jt_kind2}" "{\"id\": 73, \"raw\": [7, 4, 4097, 16, {\"text\": \"\", \"size\": 32}, 4097, 4, {\"text\": \"\", \"size\": 32}]},"
  "${_jt_kind3}" "\"raw\": [7, 1, 4099, 12, {\"text\": \"\", \"size\": 32}, 4097, 6, {\"text\": \"\", \"size\": 32}]\n"
  "${_jt_cap79}" "{\"id\": 79, \"raw\": [1, 0, 0, 0]}")
_jt_variant(GC73LONG "${_jt_dept}" "\"raw\": [5, 0, 4101, 40, {\"text\": \"0123456789\", \"size\": 32}]")
_jt_variant(GC73UNUSED "${_jt_dept}" "\"raw\": [1, 0, 4101, 6, {\"text\": \"0123456789\", \"size\": 32}]")
add_custom_target(orv_jobtype_models DEPENDS ${_jt_outputs})
set(ORV_JOBTYPE_MODEL_DIR ${CMAKE_CURRENT_BINARY_DIR}/jobtype-models/)
