# penmac's Debian package (scripts/make-deb.sh): `cpack -G DEB` in a build
# configured with the prefix /usr. Only the component "penmac" goes in (the
# program and what app/penmac/dist installs beside it); nothing else of the
# suite is a Linux deliverable.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME penmac)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "pentablet developers")
set(CPACK_PACKAGE_CONTACT "pentablet developers <penmac@pentablet.invalid>")
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_INSTALL_CMAKE_PROJECTS "${CMAKE_BINARY_DIR};${PROJECT_NAME};penmac;/")
# Stripped as Debian strips (symbols, and the compiler's .comment and .note).
set(CPACK_STRIP_FILES ON)
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/DebStrip.cmake)
# Directories the package makes are 0755 whatever the umask of the build.
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

set(CPACK_DEBIAN_PACKAGE_NAME penmac)
# The Debian revision, as the changelog has it (app/penmac/dist/dist.cmake).
set(CPACK_DEBIAN_PACKAGE_RELEASE ${PENMAC_DEB_REVISION})
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${CPACK_PACKAGE_CONTACT}")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "driver of the USB pen tablet 08F2:6811
penmac makes the USB pen tablet 08F2:6811 work on a Linux desktop: pen
position, pressure and tilt, proximity, the tablet keys with the functions
defined for them, the soft keys (media keys) and the wheel. It reads the
tablet through hidraw and posts through uinput.
.
The package brings the program, a udev rule that gives the user of the
active session access to the tablet and to /dev/uinput, an autostart entry
for the desktop application in the system tray, and a systemd user unit
that runs the driver without a desktop.")
# The libraries' packages, as dpkg-shlibdeps finds them.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Files under /etc are the administrator's once installed.
file(WRITE ${CMAKE_BINARY_DIR}/deb-control/conffiles "/etc/libwacom/penmac.tablet\n/etc/xdg/autostart/penmac.desktop\n")
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${CMAKE_BINARY_DIR}/deb-control/conffiles)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION TRUE)
include(CPack)
