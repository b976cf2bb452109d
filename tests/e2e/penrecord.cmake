# The capture tool on a system without the tablet: it runs for the time asked,
# says so, and still writes a recording that reads back.
add_test(NAME penrecord_without_tablet
         COMMAND ${CMAKE_COMMAND} -DEMULATOR=${CMAKE_CROSSCOMPILING_EMULATOR} -DPROGRAM=$<TARGET_FILE:penrecord>
                 -DOUT=${CMAKE_CURRENT_BINARY_DIR}/penrecord_empty.txt -P ${CMAKE_CURRENT_LIST_DIR}/scripts/penrecord_run.cmake)
set_tests_properties(penrecord_without_tablet PROPERTIES TIMEOUT 120 LABELS wine)
