# GoogleTest: Debian's packaged build natively; the same sources built with
# the cross compiler for Windows (no Windows build of it is packaged).
if(WIN32)
  if(NOT TARGET gtest)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
    add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  endif()
  set(PEN_GTEST gtest gmock gtest_main)
else()
  find_package(GTest REQUIRED)
  set(PEN_GTEST GTest::gtest GTest::gmock GTest::gtest_main)
endif()
include(GoogleTest)

# One test executable from every *_test.cpp in DIR. Native runs list each case
# to CTest; under Wine each executable is one CTest entry (discovery would
# start Wine once more per executable for nothing).
function(pen_test_executable name dir)
  file(GLOB _src CONFIGURE_DEPENDS ${dir}/*_test.cpp)
  if(NOT _src)
    return()
  endif()
  add_executable(${name} ${_src})
  target_link_libraries(${name} PRIVATE ${ARGN} pen_test_support ${PEN_GTEST})
  pen_warnings(${name})
  if(CMAKE_CROSSCOMPILING)
    add_test(NAME ${name} COMMAND ${name} --gtest_brief=1)
    set_tests_properties(${name} PROPERTIES TIMEOUT 600 LABELS wine)
  else()
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES LABELS native)
  endif()
endfunction()
