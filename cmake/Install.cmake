# What `cmake --install` puts where, in the layout of a Linux system:
# the programs in bin/, the language files and icons in share/varnek/ (which
# the programs find from bin/../share/varnek), the desktop entry, AppStream
# metainfo, hicolor icon, man pages and the service unit template.
include(GNUInstallDirs)

set(VARNEK_APP_ID io.github.varnek.Varnek)
set(VARNEK_PACKAGING_DIR ${CMAKE_SOURCE_DIR}/packaging)

install(TARGETS varnek-headless RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(DIRECTORY ${CMAKE_SOURCE_DIR}/data/translations/ DESTINATION ${CMAKE_INSTALL_DATADIR}/varnek/translations
        FILES_MATCHING PATTERN "*.lang")
install(FILES ${VARNEK_PACKAGING_DIR}/varnek-headless.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

# The unit names the program by its installed path, which is known only when
# installing: a package installs for /usr whatever the build's prefix says.
install(CODE "
  set(CMAKE_INSTALL_FULL_BINDIR \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}\")
  configure_file(\"${VARNEK_PACKAGING_DIR}/varnek-headless@.service.in\"
                 \"${CMAKE_BINARY_DIR}/packaging/varnek-headless@.service\" @ONLY)")
install(FILES ${CMAKE_BINARY_DIR}/packaging/varnek-headless@.service DESTINATION lib/systemd/system)

if(VARNEK_BUILD_GUI)
  install(TARGETS varnek RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(DIRECTORY ${VARNEK_PROGRAM_DIR}/images/ DESTINATION ${CMAKE_INSTALL_DATADIR}/varnek/images
          FILES_MATCHING PATTERN "*.ico")
  install(FILES ${VARNEK_PACKAGING_DIR}/varnek.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  install(FILES ${VARNEK_PACKAGING_DIR}/${VARNEK_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${VARNEK_PACKAGING_DIR}/${VARNEK_APP_ID}.svg
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
  configure_file(${VARNEK_PACKAGING_DIR}/${VARNEK_APP_ID}.metainfo.xml
                 ${CMAKE_BINARY_DIR}/packaging/${VARNEK_APP_ID}.metainfo.xml @ONLY)
  install(FILES ${CMAKE_BINARY_DIR}/packaging/${VARNEK_APP_ID}.metainfo.xml
          DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
endif()

# The desktop entry and the metainfo pass their validators (scripts/deps.sh
# --test installs them); the unit is verified once installed, by
# scripts/test-package.sh.
if(VARNEK_BUILD_TESTS AND VARNEK_BUILD_GUI)
  add_test(NAME packaging.desktop_entry
           COMMAND desktop-file-validate ${VARNEK_PACKAGING_DIR}/${VARNEK_APP_ID}.desktop)
  add_test(NAME packaging.metainfo
           COMMAND appstreamcli validate --no-net ${CMAKE_BINARY_DIR}/packaging/${VARNEK_APP_ID}.metainfo.xml)
endif()
