# wintab32.dll in test drawing programs under Wine, with the service's
# virtual tablet.
if(TARGET penhost AND TARGET wintab32)
  add_executable(wtdraw ${CMAKE_CURRENT_LIST_DIR}/wintab/WintabDraw.cpp)
  target_include_directories(wtdraw PRIVATE ${PROJECT_SOURCE_DIR})
  target_link_libraries(wtdraw PRIVATE user32)
  pen_warnings(wtdraw)
  pen_test_options(wtdraw)

  add_executable(wintab_e2e ${CMAKE_CURRENT_LIST_DIR}/wintab/wintab_e2e.cpp)
  target_link_libraries(wintab_e2e PRIVATE pen_wintab pen_pipeline gtest advapi32)
  target_include_directories(wintab_e2e PRIVATE ${PROJECT_SOURCE_DIR} ${PROJECT_SOURCE_DIR}/tests)
  pen_warnings(wintab_e2e)
  pen_test_options(wintab_e2e)
  pen_test_pch(wintab_e2e WINDOWS)
  add_dependencies(wintab_e2e penhost wtdraw wintab32)
  pen_wine_e2e(wintab_e2e SHARDS 2 TIMEOUT 120
               COMMAND wintab_e2e $<TARGET_FILE:penhost> $<TARGET_FILE:wtdraw> $<TARGET_FILE:wintab32>
                       ${CMAKE_CURRENT_BINARY_DIR}/wintab-e2e-work --gtest_brief=1)
endif()
