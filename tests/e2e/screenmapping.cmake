# The screen mapping window of the running service under Wine, opened from
# the settings window; its pictures are left in the build folder.
if(TARGET penhost)
  add_executable(screen_mapping_e2e ${CMAKE_CURRENT_LIST_DIR}/screen_mapping_e2e.cpp)
  target_link_libraries(screen_mapping_e2e PRIVATE pen_ui_win32 pen_pipeline gtest)
  target_include_directories(screen_mapping_e2e PRIVATE ${PROJECT_SOURCE_DIR})
  pen_warnings(screen_mapping_e2e)
  pen_test_options(screen_mapping_e2e)
  pen_test_pch(screen_mapping_e2e WINDOWS)
  add_dependencies(screen_mapping_e2e penhost)
  pen_wine_e2e(screen_mapping_e2e SHARDS 2 TIMEOUT 300
               COMMAND screen_mapping_e2e $<TARGET_FILE:penhost> ${CMAKE_CURRENT_BINARY_DIR}/screen-mapping-e2e-work
                       ${CMAKE_CURRENT_BINARY_DIR} --gtest_brief=1)
endif()
