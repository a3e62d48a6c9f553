# A model description with other limits of the layout dialogs, the rest as it is:
#   cmake -DIN=<model.json> -DOUT=<new.json> -DGUTTER_INCH=<0.01 in> -DGUTTER_MM=<0.1 mm>
#         -DOVERLAP_INCH=<0.01 in> -DOVERLAP_MM=<0.1 mm> -DZOOM_MIN=<%> -DZOOM_MAX=<%> -P SetLayoutLimits.cmake
# The largest gutter is the third and fifth 16-bit word of the booklet's record (capability 29,
# raw items 8 and 10), the largest overlap the third and fifth word of the poster's (capability
# 67, raw items 2 and 4), the zoom limits items 1 and 2 of capability 31.
file(READ "${IN}" json)
string(JSON count LENGTH "${json}" sections)
math(EXPR last "${count} - 1")
set(done "")
foreach(i RANGE ${last})
  string(JSON id GET "${json}" sections ${i} id)
  if(id EQUAL 29)
    string(JSON json SET "${json}" sections ${i} raw 8 "{\"u16\": ${GUTTER_INCH}}")
    string(JSON json SET "${json}" sections ${i} raw 10 "{\"u16\": ${GUTTER_MM}}")
    list(APPEND done 29)
  elseif(id EQUAL 67)
    string(JSON json SET "${json}" sections ${i} raw 2 "${OVERLAP_INCH}")
    string(JSON json SET "${json}" sections ${i} raw 4 "${OVERLAP_MM}")
    list(APPEND done 67)
  elseif(id EQUAL 31)
    string(JSON json SET "${json}" sections ${i} raw 1 "${ZOOM_MIN}")
    string(JSON json SET "${json}" sections ${i} raw 2 "${ZOOM_MAX}")
    list(APPEND done 31)
  endif()
endforeach()
list(LENGTH done found)
if(NOT found EQUAL 3)
  message(FATAL_ERROR "${IN} lacks a booklet, poster or zoom record")
endif()
file(WRITE "${OUT}" "${json}")
