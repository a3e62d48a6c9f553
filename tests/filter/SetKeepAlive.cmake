# A model description with its keep-alive interval changed, the rest as it is:
#   cmake -DIN=<model.json> -DOUT=<new.json> -DSECONDS=<n> -P SetKeepAlive.cmake
# The interval is the 32-bit word at byte 20 of capability 19, the sixth value of its raw record.
file(READ "${IN}" json)
string(JSON count LENGTH "${json}" sections)
math(EXPR last "${count} - 1")
set(found FALSE)
foreach(i RANGE ${last})
  string(JSON id GET "${json}" sections ${i} id)
  if(id EQUAL 19)
    string(JSON json SET "${json}" sections ${i} raw 5 "${SECONDS}")
    string(JSON json SET "${json}" sections ${i} about "\"keep-alive every ${SECONDS} s\"")
    set(found TRUE)
  endif()
endforeach()
if(NOT found)
  message(FATAL_ERROR "${IN} has no capability 19")
endif()
file(WRITE "${OUT}" "${json}")
