# Fails when PROGRAM needs one of the shared libraries in FORBIDDEN (a list of
# library names as they stand in its dynamic section, e.g. libcadhost.so).
execute_process(COMMAND readelf -d ${PROGRAM} OUTPUT_VARIABLE dynamic RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "readelf failed on ${PROGRAM}")
endif()
foreach(library ${FORBIDDEN})
  if(dynamic MATCHES "NEEDED[^\n]*\\[${library}\\]")
    message(FATAL_ERROR "${PROGRAM} needs ${library}")
  endif()
endforeach()
