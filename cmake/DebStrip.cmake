# Run by CPack (CPACK_PRE_BUILD_SCRIPTS) on the package's staged files: the
# programs lose their symbols and the compiler's notes (.comment, .note), as
# Debian's own packages' do.
file(GLOB _programs "${CPACK_TEMPORARY_INSTALL_DIRECTORY}/usr/bin/*")
foreach(_p ${_programs})
  execute_process(COMMAND strip --remove-section=.comment --remove-section=.note "${_p}" RESULT_VARIABLE _rc)
  if(NOT _rc EQUAL 0)
    message(FATAL_ERROR "strip ${_p} failed")
  endif()
endforeach()
