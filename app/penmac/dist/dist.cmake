# penmac's desktop integration and documentation, installed with it
# (component penmac): the menu entry, the autostart entry, the icon (SVG and
# PNG renderings of it for desktops and trays that take no SVG), the manual
# page, and the Debian copyright and changelog files.
find_program(PEN_GZIP gzip REQUIRED)
find_program(PEN_RSVG_CONVERT rsvg-convert)

install(FILES ${_dist}/penmac.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications COMPONENT penmac)
# XDG autostart reads /etc/xdg (XDG_CONFIG_DIRS), whatever the prefix.
install(FILES ${_dist}/penmac-autostart.desktop DESTINATION /etc/xdg/autostart RENAME penmac.desktop
        COMPONENT penmac)
install(FILES ${_dist}/penmac.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps COMPONENT penmac)

set(_gen ${CMAKE_CURRENT_BINARY_DIR}/penmac-dist)
set(_outputs "")
# -n: no name or time stamp in the archive, so that two builds of one source
# give the same package.
configure_file(${_dist}/penmac.1 ${_gen}/penmac.1 @ONLY)
# The Debian revision of the package (cmake/Packaging.cmake), which the
# changelog names as well.
set(PENMAC_DEB_REVISION 1 CACHE INTERNAL "The Debian package's revision")
set(PENMAC_DEB_VERSION ${PROJECT_VERSION}-${PENMAC_DEB_REVISION})
configure_file(${_dist}/changelog.Debian.in ${_gen}/changelog.Debian @ONLY)
foreach(_f penmac.1 changelog.Debian)
  add_custom_command(OUTPUT ${_gen}/${_f}.gz
                     COMMAND ${PEN_GZIP} -9nc ${_gen}/${_f} > ${_gen}/${_f}.gz
                     DEPENDS ${_gen}/${_f} VERBATIM)
  list(APPEND _outputs ${_gen}/${_f}.gz)
endforeach()
install(FILES ${_gen}/penmac.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT penmac)
install(FILES ${_gen}/changelog.Debian.gz ${_dist}/copyright DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/penmac COMPONENT penmac)
install(FILES ${_dist}/lintian-overrides DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/lintian/overrides RENAME penmac
        COMPONENT penmac)

if(PEN_RSVG_CONVERT)
  foreach(_size 16 24 32 48 64 128 256)
    set(_png ${_gen}/icons/${_size}x${_size}/penmac.png)
    add_custom_command(OUTPUT ${_png}
                       COMMAND ${CMAKE_COMMAND} -E make_directory ${_gen}/icons/${_size}x${_size}
                       COMMAND ${PEN_RSVG_CONVERT} -w ${_size} -h ${_size} -o ${_png} ${_dist}/penmac.svg
                       DEPENDS ${_dist}/penmac.svg VERBATIM)
    list(APPEND _outputs ${_png})
    install(FILES ${_png} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${_size}x${_size}/apps COMPONENT penmac)
  endforeach()
else()
  message(STATUS "rsvg-convert not found (Debian: librsvg2-bin): penmac's icon is installed as SVG only")
endif()
add_custom_target(penmac_dist ALL DEPENDS ${_outputs})
