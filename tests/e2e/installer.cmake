# The setup program's test (tests/e2e/installer/installer-test.sh) builds a
# setup with this stand-in finder to see its answer to every result.
add_library(installer_fake_finder SHARED ${CMAKE_CURRENT_LIST_DIR}/installer/FakeFinder.cpp)
set_target_properties(installer_fake_finder PROPERTIES PREFIX "" OUTPUT_NAME inkprobe
  RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/installer-fake-finder)
# The export by its plain name, as inkprobe.dll has it.
target_link_options(installer_fake_finder PRIVATE -Wl,--kill-at)
pen_warnings(installer_fake_finder)
pen_test_options(installer_fake_finder)

# A user at the setup program's windows, for its interactive runs.
add_executable(installer-clicker ${CMAKE_CURRENT_LIST_DIR}/installer/Clicker.cpp)
set_target_properties(installer-clicker PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/installer-fake-finder)
pen_warnings(installer-clicker)
pen_test_options(installer-clicker)
