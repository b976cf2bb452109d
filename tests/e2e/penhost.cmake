# End-to-end runs of the service program under Wine with the virtual tablet.
if(TARGET penhost)
  add_executable(penhost_e2e ${CMAKE_CURRENT_LIST_DIR}/penhost_e2e.cpp ${CMAKE_CURRENT_LIST_DIR}/channel_e2e.cpp
                             ${CMAKE_CURRENT_LIST_DIR}/keys_e2e.cpp ${CMAKE_CURRENT_LIST_DIR}/wheel_e2e.cpp)
  target_link_libraries(penhost_e2e PRIVATE pen_pipeline gtest)
  target_include_directories(penhost_e2e PRIVATE ${PROJECT_SOURCE_DIR} ${PROJECT_SOURCE_DIR}/tests)
  pen_warnings(penhost_e2e)
  pen_test_options(penhost_e2e)
  pen_test_pch(penhost_e2e WINDOWS)
  add_dependencies(penhost_e2e penhost tabclient)
  # Each case waits on a real program; a hang must end as a failure.
  pen_wine_e2e(penhost_e2e SHARDS 7 TIMEOUT 300
               COMMAND penhost_e2e $<TARGET_FILE:penhost> $<TARGET_FILE:tabclient>
                       ${CMAKE_CURRENT_BINARY_DIR}/penhost-e2e-work --gtest_brief=1)
endif()
