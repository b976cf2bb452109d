# The settings window of the running service under Wine; its pictures are
# left in the build folder.
if(TARGET penhost)
  add_executable(settings_window_e2e ${CMAKE_CURRENT_LIST_DIR}/settings_window_e2e.cpp)
  target_link_libraries(settings_window_e2e PRIVATE pen_ui_win32 pen_pipeline gtest)
  target_include_directories(settings_window_e2e PRIVATE ${PROJECT_SOURCE_DIR})
  pen_warnings(settings_window_e2e)
  pen_test_options(settings_window_e2e)
  pen_test_pch(settings_window_e2e WINDOWS)
  add_dependencies(settings_window_e2e penhost)
  pen_wine_e2e(settings_window_e2e SHARDS 3 TIMEOUT 300
               COMMAND settings_window_e2e $<TARGET_FILE:penhost> ${CMAKE_CURRENT_BINARY_DIR}/settings-window-e2e-work
                       ${CMAKE_CURRENT_BINARY_DIR} --gtest_brief=1)
endif()
