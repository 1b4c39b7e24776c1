# Installation like a desktop program (GNU layout) and the Debian package built from it.
# The programs install themselves where they are defined (src/); this adds what goes with
# them. Test programs and benchmarks have no install rules and stay in the build tree.

set(D7O_PACKAGING_DIR ${CMAKE_CURRENT_LIST_DIR})

# The desktop entry and the icon theme's icons are the freedesktop menus' (Linux); a Windows
# installation is the programs and the README in one folder.
if(UNIX AND NOT APPLE)
  install(FILES ${D7O_PACKAGING_DIR}/rezedev7.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${D7O_PACKAGING_DIR}/rezedev7.svg
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
  # A 64x64 PNG for menus that take no SVG, rendered from the SVG when rsvg-convert is there.
  find_program(D7O_RSVG_CONVERT rsvg-convert)
  if(D7O_RSVG_CONVERT)
    set(_d7o_icon_png ${CMAKE_CURRENT_BINARY_DIR}/packaging/rezedev7.png)
    add_custom_command(
      OUTPUT ${_d7o_icon_png}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_CURRENT_BINARY_DIR}/packaging
      COMMAND ${D7O_RSVG_CONVERT} -w 64 -h 64 -o ${_d7o_icon_png} ${D7O_PACKAGING_DIR}/rezedev7.svg
      DEPENDS ${D7O_PACKAGING_DIR}/rezedev7.svg
      COMMENT "Rendering the 64x64 icon")
    add_custom_target(d7o_icon_png ALL DEPENDS ${_d7o_icon_png})
    install(FILES ${_d7o_icon_png} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/64x64/apps)
  endif()
endif()
install(FILES ${PROJECT_SOURCE_DIR}/README.md DESTINATION ${CMAKE_INSTALL_DOCDIR})

# cpack in the build folder: a Debian package, or a zip of the folder on Windows.
set(CPACK_PACKAGE_NAME rezedev7)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "D7O tool team")
set(CPACK_PACKAGE_CONTACT "D7O tool team")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Tarvik D7O GSM modem test and development tool")
set(CPACK_PACKAGE_DESCRIPTION
    "Bench tool for the Tarvik D7O dual-band GSM modem and its R7O-3 Alarm/GPS firmware: \
baud-rate search, AT terminal, device configuration, GPS analyzer, SMS PDUs, remote tool. \
Includes d7o-sim, a simulated modem on a pseudo-terminal, and the d7o-tool command line.")
if(WIN32)
  set(CPACK_GENERATOR ZIP)
  include(CPack)
  return()
endif()
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
# The package ships the programs without their debugging information.
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "D7O tool team")
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The Qt and C++ runtime packages, as dpkg-shlibdeps (dpkg-dev) finds them.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_GENERATOR DEB)
include(CPack)
