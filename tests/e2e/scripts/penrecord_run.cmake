# Runs penrecord for one second and checks its exit code, message and file.
file(REMOVE ${OUT})
execute_process(COMMAND ${EMULATOR} ${PROGRAM} -t 1 -o ${OUT}
                RESULT_VARIABLE rc ERROR_VARIABLE err OUTPUT_VARIABLE out TIMEOUT 90)
if(NOT rc EQUAL 2)
  message(FATAL_ERROR "penrecord exited with ${rc}, expected 2 (no tablet): ${err}")
endif()
if(NOT err MATCHES "Tablet not found")
  message(FATAL_ERROR "penrecord did not report the missing tablet: ${err}")
endif()
file(READ ${OUT} text)
if(NOT text MATCHES "^device version 0x[0-9A-F][0-9A-F][0-9A-F][0-9A-F] product \"[^\"]*\"\nstart unplugged\n$")
  message(FATAL_ERROR "unexpected recording:\n${text}")
endif()
