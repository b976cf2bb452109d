# The key-setup windows of the running service under Wine: an edit that
# reaches the definitions file and the tablet key; pictures left in the
# build folder.
if(TARGET penhost)
  add_executable(key_setup_e2e ${CMAKE_CURRENT_LIST_DIR}/key_setup_e2e.cpp)
  target_link_libraries(key_setup_e2e PRIVATE pen_ui_win32 pen_pipeline gtest)
  target_include_directories(key_setup_e2e PRIVATE ${PROJECT_SOURCE_DIR} ${PROJECT_SOURCE_DIR}/tests)
  pen_warnings(key_setup_e2e)
  pen_test_options(key_setup_e2e)
  pen_test_pch(key_setup_e2e WINDOWS)
  add_dependencies(key_setup_e2e penhost)
  pen_wine_e2e(key_setup_e2e SHARDS 2 TIMEOUT 300
               COMMAND key_setup_e2e $<TARGET_FILE:penhost> ${CMAKE_CURRENT_BINARY_DIR}/key-setup-e2e-work
                       ${CMAKE_CURRENT_BINARY_DIR} --gtest_brief=1)
endif()
