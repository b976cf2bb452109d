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
