# Fails unless MODULE's dynamic symbol table defines exactly the four entry
# points.
execute_process(COMMAND nm -D --defined-only ${MODULE} OUTPUT_VARIABLE symbols
                RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "nm failed on ${MODULE}")
endif()
string(REGEX MATCHALL "[^ \n]+\n" lines "${symbols}")
set(names)
foreach(line ${lines})
  string(STRIP "${line}" name)
  list(APPEND names ${name})
endforeach()
list(SORT names)
set(expected DllMain _SetacrxPtp acrxEntryPoint acrxGetApiVersion)
if(NOT names STREQUAL expected)
  message(FATAL_ERROR "exports are '${names}', expected '${expected}'")
endif()
