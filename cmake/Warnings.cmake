# Every target of ours is built with the same warning set on g++, clang and mingw.
function(pen_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra)
  if(PEN_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()

# A library from every .cpp directly in DIR (none: an interface library).
# Units are added by dropping a file in; each folder's CMakeLists names its links.
function(pen_glob_library name dir)
  file(GLOB _src CONFIGURE_DEPENDS ${dir}/*.cpp)
  if(_src)
    add_library(${name} STATIC ${_src})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
    pen_warnings(${name})
    pen_library_pch(${name})
  else()
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR})
  endif()
endfunction()

# Links that work for both kinds of library pen_glob_library makes.
function(pen_link name)
  get_target_property(_type ${name} TYPE)
  if(_type STREQUAL "INTERFACE_LIBRARY")
    target_link_libraries(${name} INTERFACE ${ARGN})
  else()
    target_link_libraries(${name} PUBLIC ${ARGN})
  endif()
endfunction()

# mingw-w64 spends most of a Win32 file's compile reading windows.h (a second
# of a file's one to two): in the Windows builds the folders' win32/
# libraries take it precompiled, once per build for all. Only windows.h: g++
# 12 forgets, for code from a precompiled header, that the standard library
# is a system header, and its false -Warray-bounds on string concatenation at
# -O2 then shows in ours. Natively nothing reads windows.h.
function(pen_library_pch target)
  if(NOT PEN_PCH OR NOT WIN32 OR NOT target MATCHES "_win32$")
    return()
  endif()
  if(NOT TARGET pen_pch_library_win32)
    file(CONFIGURE OUTPUT ${CMAKE_BINARY_DIR}/pch/pen_pch_library_win32.cpp
         CONTENT "// The Win32 libraries' precompiled header.\n")
    add_library(pen_pch_library_win32 OBJECT ${CMAKE_BINARY_DIR}/pch/pen_pch_library_win32.cpp)
    pen_warnings(pen_pch_library_win32)
    target_precompile_headers(pen_pch_library_win32 PRIVATE <windows.h>)
  endif()
  target_precompile_headers(${target} REUSE_FROM pen_pch_library_win32)
endfunction()
