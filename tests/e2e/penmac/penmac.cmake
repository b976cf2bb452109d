# penmac end to end, natively: the real program with a replayed session, and
# the program a qemu guest runs against the real kernel (scripts/test.sh).
file(GLOB _src CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/*_test.cpp)
add_executable(penmac_e2e_tests ${_src})
target_link_libraries(penmac_e2e_tests PRIVATE ${PEN_GTEST})
target_compile_definitions(penmac_e2e_tests PRIVATE PENMAC_PROGRAM="$<TARGET_FILE:penmac>")
add_dependencies(penmac_e2e_tests penmac)
pen_warnings(penmac_e2e_tests)
pen_test_options(penmac_e2e_tests)
gtest_discover_tests(penmac_e2e_tests DISCOVERY_TIMEOUT 60 PROPERTIES LABELS native)

add_executable(penmac_guest_check ${CMAKE_CURRENT_LIST_DIR}/GuestCheck.cpp)
target_link_libraries(penmac_guest_check PRIVATE pen_pipeline)
pen_warnings(penmac_guest_check)
pen_test_options(penmac_guest_check)

# The desktop application's status item in a real tray (trayer) on a private
# Xvfb: the icon is embedded, a click opens the menu, the rows with and
# without a tablet, a clean end on SIGTERM. A few seconds.
add_test(NAME penmac_tray COMMAND ${CMAKE_CURRENT_LIST_DIR}/tray-test.sh $<TARGET_FILE:penmac>)
set_tests_properties(penmac_tray PROPERTIES LABELS "native;display" TIMEOUT 120 PASS_REGULAR_EXPRESSION "PENMAC-TRAY PASS")
