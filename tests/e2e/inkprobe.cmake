# inkprobe.dll end to end: real holder processes of a stand-in wintab32.dll,
# message boxes closed by a watcher as a user pressing OK would.
set(_dir ${CMAKE_CURRENT_LIST_DIR}/inkprobe)
set(_out ${CMAKE_BINARY_DIR}/inkprobe-e2e)

add_library(inkprobe_fake_wintab SHARED ${_dir}/FakeWintab.cpp)
set_target_properties(inkprobe_fake_wintab PROPERTIES PREFIX "" OUTPUT_NAME wintab32
  RUNTIME_OUTPUT_DIRECTORY ${_out})
pen_warnings(inkprobe_fake_wintab)
pen_test_options(inkprobe_fake_wintab)

add_executable(inkprobe-holder ${_dir}/Holder.cpp)
set_target_properties(inkprobe-holder PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${_out})
pen_warnings(inkprobe-holder)
pen_test_options(inkprobe-holder)

add_executable(inkprobe-e2e ${_dir}/InkProbeE2e.cpp ${_dir}/E2eSupport.cpp)
set_target_properties(inkprobe-e2e PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${_out})
target_link_libraries(inkprobe-e2e PRIVATE pen_inkprobe)
pen_warnings(inkprobe-e2e)
pen_test_options(inkprobe-e2e)
add_dependencies(inkprobe-e2e inkprobe inkprobe_fake_wintab inkprobe-holder)
# The DLL under test sits beside the driver, as it sits beside the installer.
add_custom_command(TARGET inkprobe-e2e POST_BUILD
  COMMAND ${CMAKE_COMMAND} -E copy_if_different $<TARGET_FILE:inkprobe> ${_out}/)

foreach(_scenario unregistered one-holder two-holders notice ink-server)
  add_test(NAME inkprobe_e2e_${_scenario} COMMAND inkprobe-e2e ${_scenario})
  # Each scenario looks at every process and changes the registry: a Wine of
  # its own keeps the others' out of its sight.
  set_tests_properties(inkprobe_e2e_${_scenario} PROPERTIES TIMEOUT 120 LABELS "wine;e2e")
  pen_wine_isolate(inkprobe_e2e_${_scenario})
endforeach()
# Wine takes the system language from the locale variables; the message box
# shows the code page 936 texts and gives them back unchanged.
add_test(NAME inkprobe_e2e_one-holder-chinese COMMAND inkprobe-e2e one-holder-chinese)
set_tests_properties(inkprobe_e2e_one-holder-chinese PROPERTIES
  ENVIRONMENT "LC_ALL=zh_CN.UTF-8;LANG=zh_CN.UTF-8" TIMEOUT 120 LABELS "wine;e2e")
pen_wine_isolate(inkprobe_e2e_one-holder-chinese)

# The installer finds the export by its plain name, also in the 32-bit DLL.
add_test(NAME inkprobe_export_name
  COMMAND ${CMAKE_COMMAND} -DOBJDUMP=${CMAKE_OBJDUMP} -DDLL=$<TARGET_FILE:inkprobe>
          -P ${CMAKE_CURRENT_LIST_DIR}/inkprobe/CheckExport.cmake)
set_tests_properties(inkprobe_export_name PROPERTIES LABELS static)

# The command-line runner prints the export's result and exits with it; with
# the Ink controls unregistered (a fresh Wine prefix) that is 100.
add_test(NAME inkprobe_run_unregistered COMMAND inkprobe-run 1)
set_tests_properties(inkprobe_run_unregistered PROPERTIES
  PASS_REGULAR_EXPRESSION "^100\r?\n" TIMEOUT 60 LABELS "wine;e2e")
pen_wine_isolate(inkprobe_run_unregistered)
