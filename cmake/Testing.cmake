# The test programs' own code, GoogleTest's included, is built for a quick
# build rather than for speed: it runs for moments, while the code under test
# (and all that is shipped) keeps the build's optimisation. Each preset says
# how (PEN_TEST_OPT, a list of options); the precompiled headers are made
# with the same.
set(PEN_TEST_OPT "" CACHE STRING "Options for the test programs' own code, e.g. -O1")
function(pen_test_options target)
  if(PEN_TEST_OPT)
    separate_arguments(_opt NATIVE_COMMAND "${PEN_TEST_OPT}")
    target_compile_options(${target} PRIVATE ${_opt})
  endif()
endfunction()

# GoogleTest: Debian's packaged build natively; the same sources built with
# the cross compiler for Windows (no Windows build of it is packaged).
if(WIN32)
  if(NOT TARGET gtest)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
    add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  endif()
  set(PEN_GTEST gtest gmock gtest_main)
  # Its own sources only run the cases and print: unoptimised they compile
  # in two thirds of the time (its headers, in the test files, keep the
  # test programs' options).
  foreach(t gtest gmock gtest_main)
    pen_test_options(${t})
    target_compile_options(${t} PRIVATE -O0)
  endforeach()
else()
  find_package(GTest REQUIRED)
  set(PEN_GTEST GTest::gtest GTest::gmock GTest::gtest_main)
endif()
include(GoogleTest)

# GoogleTest and GoogleMock are most of what a test file costs to compile:
# the Windows builds' test programs include them precompiled, and their Win32
# tests windows.h with them (only those: the portable tests must not see its
# macros). One precompiled header of each kind serves every test program;
# one per program cost more to make than it saved. The native clang build
# goes without: its precompiled headers name the tree they were made in, so
# another clone of it would miss every object in ccache. Nor does the g++
# one: compiled a batch at a time (below), its few test programs read
# GoogleTest too seldom to pay for making the header.
option(PEN_PCH "Precompile the headers every test file includes (and windows.h for the Win32 libraries)" ${WIN32})
# pen_test_pch(TARGET [WINDOWS]): WINDOWS for a program whose files read
# windows.h (the *_win32_tests ones are known by name).
function(pen_test_pch target)
  if(NOT PEN_PCH)
    return()
  endif()
  if(WIN32 AND (target MATCHES "_win32_tests$" OR "WINDOWS" IN_LIST ARGN))
    set(_host pen_test_pch_win32)
    set(_headers <windows.h> <gtest/gtest.h> <gmock/gmock.h>)
  else()
    set(_host pen_test_pch_portable)
    set(_headers <gtest/gtest.h> <gmock/gmock.h>)
  endif()
  if(NOT TARGET ${_host})
    # The header is made for a target of its own that only the test programs
    # use, with their options, so that each of them can take it as it is.
    file(CONFIGURE OUTPUT ${CMAKE_BINARY_DIR}/pch/${_host}.cpp CONTENT "// The test programs' precompiled headers.\n")
    add_library(${_host} OBJECT ${CMAKE_BINARY_DIR}/pch/${_host}.cpp)
    target_link_libraries(${_host} PRIVATE pen_test_support ${PEN_GTEST})
    pen_warnings(${_host})
    pen_test_options(${_host})
    target_precompile_headers(${_host} PRIVATE ${_headers})
  endif()
  target_precompile_headers(${target} REUSE_FROM ${_host})
endfunction()

# Each test file reads GoogleTest and GoogleMock whole and instantiates much
# of them again; compiled a batch at a time, a test program pays for that once
# per batch instead of once per file. A batch of PEN_UNITY_BATCH files still
# leaves two or more to build side by side in the larger programs.
option(PEN_UNITY "Compile the test files a batch at a time" ON)
set(PEN_UNITY_BATCH 8 CACHE STRING "Test files compiled together")
# So in a batch each file's anonymous namespace is shared with the others'
# of its folder: the names in it must differ from theirs. A file that
# replaces the global allocation functions (support/AllocationCounter.h)
# keeps a unit of its own: inlined into the other files' tests, its new and
# delete read as mismatched pairs to g++.
function(pen_test_unity target)
  if(NOT PEN_UNITY)
    return()
  endif()
  set_target_properties(${target} PROPERTIES UNITY_BUILD ON UNITY_BUILD_BATCH_SIZE ${PEN_UNITY_BATCH})
  get_target_property(_src ${target} SOURCES)
  foreach(f ${_src})
    file(STRINGS ${f} _alloc REGEX "support/AllocationCounter\\.h")
    if(_alloc)
      set_source_files_properties(${f} TARGET_DIRECTORY ${target} PROPERTIES SKIP_UNITY_BUILD_INCLUSION ON)
    endif()
  endforeach()
endfunction()

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
  pen_test_options(${name})
  pen_test_pch(${name})
  pen_test_unity(${name})
  if(CMAKE_CROSSCOMPILING)
    add_test(NAME ${name} COMMAND ${name} --gtest_brief=1)
    set_tests_properties(${name} PROPERTIES TIMEOUT 600 LABELS wine)
  else()
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES LABELS native)
  endif()
endfunction()

# Under Wine: TEST runs in a Wine of its own (a private prefix copy, hence
# its own wineserver, and its own display; see scripts/wine-run.sh), so it
# may run beside others although it starts penhost, takes the focus or puts
# up windows.
function(pen_wine_isolate)
  if(NOT CMAKE_CROSSCOMPILING)
    return()
  endif()
  foreach(t ${ARGN})
    set_property(TEST ${t} APPEND PROPERTY ENVIRONMENT "PEN_WINE_ISOLATE=${t}")
  endforeach()
endfunction()

# pen_wine_e2e(NAME SHARDS N TIMEOUT S COMMAND ...): an end-to-end program
# whose cases are spread over N CTest entries (GoogleTest's sharding), each
# isolated as above, so that their real-time waits overlap.
function(pen_wine_e2e name)
  cmake_parse_arguments(PARSE_ARGV 1 E "" "SHARDS;TIMEOUT" "COMMAND")
  if(NOT E_SHARDS)
    set(E_SHARDS 1)
  endif()
  math(EXPR _last "${E_SHARDS} - 1")
  foreach(i RANGE ${_last})
    set(_t ${name})
    if(E_SHARDS GREATER 1)
      set(_t ${name}_${i})
    endif()
    add_test(NAME ${_t} COMMAND ${E_COMMAND})
    set_tests_properties(${_t} PROPERTIES TIMEOUT ${E_TIMEOUT} LABELS "wine;e2e"
      ENVIRONMENT "GTEST_TOTAL_SHARDS=${E_SHARDS};GTEST_SHARD_INDEX=${i}")
    pen_wine_isolate(${_t})
  endforeach()
endfunction()
