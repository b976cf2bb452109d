# cmake -DOBJDUMP=... -DDLL=... -P CheckExport.cmake: the DLL's export table
# holds exactly one name, FindWintabInUsed, undecorated.
execute_process(COMMAND ${OBJDUMP} -p ${DLL} OUTPUT_VARIABLE dump RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "${OBJDUMP} -p ${DLL} failed")
endif()
string(REGEX MATCH "\\[Ordinal/Name Pointer\\] Table\n([^\n]+\n)*" table "${dump}")
string(REGEX MATCHALL "\t\\[ *[0-9]+\\] [^\n]+" names "${table}")
list(TRANSFORM names REPLACE "^\t\\[ *[0-9]+\\] " "")
if(NOT names STREQUAL "FindWintabInUsed")
  message(FATAL_ERROR "export names of ${DLL}: '${names}', expected exactly FindWintabInUsed\n${table}")
endif()
message(STATUS "export table of ${DLL}: FindWintabInUsed")
