# Installing and packaging: `cmake --install` and CPack.
#
# On Linux: the program, its man page, the desktop entry, the MIME type of
# Kolvane schematics and the icons (made from the program's own pixel
# tables) go into the usual places; `make package` builds a .deb whose
# base package needs no GTK (vesk -F works with it alone). The window
# module, where it is built, goes into its own component. On Windows: a zip
# of vesk.exe with the README and the license.
include(GNUInstallDirs)

if(WIN32)
  # The zip holds vesk.exe at its top, beside the README and the license.
  install(TARGETS vesk RUNTIME DESTINATION . COMPONENT base)
  install(FILES ${CMAKE_CURRENT_SOURCE_DIR}/README.md ${CMAKE_CURRENT_SOURCE_DIR}/LICENSE
          DESTINATION . COMPONENT base)
  set(CPACK_GENERATOR ZIP)
  set(CPACK_PACKAGE_FILE_NAME "vesk-${PROJECT_VERSION}-windows-x86_64")
  set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
else()
  install(TARGETS vesk RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT base)
  add_executable(vesk-export-icons ${CMAKE_CURRENT_SOURCE_DIR}/tools/export_icons.cpp)
  target_link_libraries(vesk-export-icons PRIVATE vesk_shell)
  set(VESK_ICON_DIR ${CMAKE_CURRENT_BINARY_DIR}/icons)
  add_custom_command(
    OUTPUT ${VESK_ICON_DIR}/vesk-32.png ${VESK_ICON_DIR}/vesk-16.png
    COMMAND ${CMAKE_COMMAND} -E make_directory ${VESK_ICON_DIR}
    COMMAND vesk-export-icons ${VESK_ICON_DIR}
    DEPENDS vesk-export-icons
    COMMENT "Writing the icons for the desktop")
  add_custom_target(vesk-icons ALL DEPENDS ${VESK_ICON_DIR}/vesk-32.png ${VESK_ICON_DIR}/vesk-16.png)

  set(pkg ${CMAKE_CURRENT_SOURCE_DIR}/packaging)
  install(FILES ${pkg}/vesk.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT base)
  install(FILES ${pkg}/vesk.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications COMPONENT base)
  install(FILES ${pkg}/vesk-mime.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages
          RENAME vesk.xml COMPONENT base)
  foreach(size 16 32)
    install(FILES ${VESK_ICON_DIR}/vesk-${size}.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
            RENAME vesk.png COMPONENT base)
  endforeach()
  install(FILES ${CMAKE_CURRENT_SOURCE_DIR}/README.md ${CMAKE_CURRENT_SOURCE_DIR}/LICENSE
          DESTINATION ${CMAKE_INSTALL_DOCDIR} COMPONENT base)

  set(CPACK_GENERATOR DEB)
  set(CPACK_DEB_COMPONENT_INSTALL ON)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Vesk developers <vesk@example.org>")
  set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
  set(CPACK_DEBIAN_BASE_PACKAGE_NAME vesk)
  set(CPACK_DEBIAN_BASE_PACKAGE_DEPENDS "libc6, libstdc++6, libgcc-s1")
  set(CPACK_COMPONENT_BASE_DESCRIPTION
      "Vesk reads Kolvane schematic files (.ce3) and writes one combined,\nsorted parts list as a CSV file. This package holds the program and its\ncommand-line mode (vesk -F); the dialog needs the vesk-gtk package.")
endif()

set(CPACK_PACKAGE_NAME vesk)
set(CPACK_PACKAGE_VENDOR "Vesk developers")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Parts list generator for Kolvane schematics")
set(CPACK_RESOURCE_FILE_LICENSE ${CMAKE_CURRENT_SOURCE_DIR}/LICENSE)
set(CPACK_COMPONENTS_ALL base)
if(TARGET vesk-gtk)
  # The window module is a package of its own, so that the base package
  # (and vesk -F) needs no toolkit; the base package recommends it.
  list(APPEND CPACK_COMPONENTS_ALL gtk)
  set(CPACK_DEBIAN_GTK_PACKAGE_NAME vesk-gtk)
  set(CPACK_DEBIAN_GTK_PACKAGE_DEPENDS
      "vesk (= ${PROJECT_VERSION}), libgtk-3-0, libfontconfig1, fonts-ipafont-gothic")
  set(CPACK_DEBIAN_BASE_PACKAGE_RECOMMENDS vesk-gtk)
  set(CPACK_COMPONENT_GTK_DESCRIPTION
      "The dialog of Vesk as a GTK 3 window; vesk loads it when started\nwithout -F.")
endif()
set(CPACK_STRIP_FILES ON)
include(CPack)
