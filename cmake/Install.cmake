# What `cmake --install` puts where, in the layout of a Linux system:
# the programs in bin/, the language files and icons in share/varnek/ (which
# the programs find from bin/../share/varnek), the desktop entry, AppStream
# metainfo, hicolor icon, man pages (gzip -9n), the service unit template,
# the logrotate file of the service's logs, and each package's copyright and
# changelog in share/doc/PACKAGE/ (and its lintian overrides).
#
# Everything belongs to one of two components, which cmake/Package.cmake makes
# into the Debian packages of the same names: varnek-headless (the headless
# program, its unit and man page, and the files both programs read) and
# varnek (the window and what a desktop shows of it).
include(GNUInstallDirs)

set(VARNEK_APP_ID io.github.varnek.Varnek)
set(VARNEK_PACKAGING_DIR ${CMAKE_SOURCE_DIR}/packaging)

# Man pages and changelogs are installed compressed, without name or time
# stamp, so that the same sources give the same files.
set(VARNEK_COMPRESSED_DIR ${CMAKE_BINARY_DIR}/packaging/compressed)
set(VARNEK_COMPRESSED_FILES)
function(varnek_compress source output)
  add_custom_command(OUTPUT ${VARNEK_COMPRESSED_DIR}/${output}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${VARNEK_COMPRESSED_DIR}
    COMMAND gzip -9n -c ${source} > ${VARNEK_COMPRESSED_DIR}/${output}
    DEPENDS ${source} VERBATIM)
  set(VARNEK_COMPRESSED_FILES ${VARNEK_COMPRESSED_FILES} ${VARNEK_COMPRESSED_DIR}/${output} PARENT_SCOPE)
endfunction()
varnek_compress(${VARNEK_PACKAGING_DIR}/varnek-headless.1 varnek-headless.1.gz)
varnek_compress(${VARNEK_PACKAGING_DIR}/varnek.1 varnek.1.gz)
varnek_compress(${VARNEK_PACKAGING_DIR}/debian/changelog changelog.Debian.gz)
add_custom_target(varnek_compressed_files ALL DEPENDS ${VARNEK_COMPRESSED_FILES})

set(VARNEK_PACKAGES varnek-headless)
if(VARNEK_BUILD_GUI)
  list(APPEND VARNEK_PACKAGES varnek)
endif()
foreach(package IN LISTS VARNEK_PACKAGES)
  install(FILES ${VARNEK_PACKAGING_DIR}/debian/copyright ${VARNEK_COMPRESSED_DIR}/changelog.Debian.gz
          DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/${package} COMPONENT ${package})
  install(FILES ${VARNEK_PACKAGING_DIR}/debian/lintian-overrides DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides
          RENAME ${package} COMPONENT ${package})
endforeach()

install(TARGETS varnek-headless RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT varnek-headless)
install(DIRECTORY ${CMAKE_SOURCE_DIR}/data/translations/ DESTINATION ${CMAKE_INSTALL_DATADIR}/varnek/translations
        COMPONENT varnek-headless FILES_MATCHING PATTERN "*.lang")
install(FILES ${VARNEK_COMPRESSED_DIR}/varnek-headless.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1
        COMPONENT varnek-headless)

# The unit names the program by its installed path, which is known only when
# installing: a package installs for /usr whatever the build's prefix says.
install(CODE "
  set(CMAKE_INSTALL_FULL_BINDIR \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}\")
  configure_file(\"${VARNEK_PACKAGING_DIR}/varnek-headless@.service.in\"
                 \"${CMAKE_BINARY_DIR}/packaging/varnek-headless@.service\" @ONLY)"
  COMPONENT varnek-headless)
install(FILES ${CMAKE_BINARY_DIR}/packaging/varnek-headless@.service DESTINATION lib/systemd/system
        COMPONENT varnek-headless)

# The service's logs are rotated by logrotate, which reads /etc/logrotate.d/:
# an installation for /usr (the package) puts the file there, one for another
# prefix in that prefix's etc/, as GNUInstallDirs places the configuration.
# The prefix is known only when installing, as for the unit.
install(CODE "
  if(CMAKE_INSTALL_PREFIX STREQUAL \"/usr\")
    set(VARNEK_LOGROTATE_DIR /etc/logrotate.d)
  else()
    set(VARNEK_LOGROTATE_DIR \"\${CMAKE_INSTALL_PREFIX}/etc/logrotate.d\")
  endif()
  file(INSTALL DESTINATION \"\${VARNEK_LOGROTATE_DIR}\" TYPE FILE RENAME varnek-headless
       FILES \"${VARNEK_PACKAGING_DIR}/varnek-headless.logrotate\")"
  COMPONENT varnek-headless)

if(VARNEK_BUILD_GUI)
  # The icons are drawn by a tool of the window's build; they sit with the
  # language files in share/varnek/, in the package both programs share.
  install(DIRECTORY ${VARNEK_PROGRAM_DIR}/images/ DESTINATION ${CMAKE_INSTALL_DATADIR}/varnek/images
          COMPONENT varnek-headless FILES_MATCHING PATTERN "*.ico")
  install(TARGETS varnek RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT varnek)
  install(FILES ${VARNEK_COMPRESSED_DIR}/varnek.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT varnek)
  install(FILES ${VARNEK_PACKAGING_DIR}/${VARNEK_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications
          COMPONENT varnek)
  install(FILES ${VARNEK_PACKAGING_DIR}/${VARNEK_APP_ID}.svg
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps COMPONENT varnek)
  configure_file(${VARNEK_PACKAGING_DIR}/${VARNEK_APP_ID}.metainfo.xml
                 ${CMAKE_BINARY_DIR}/packaging/${VARNEK_APP_ID}.metainfo.xml @ONLY)
  install(FILES ${CMAKE_BINARY_DIR}/packaging/${VARNEK_APP_ID}.metainfo.xml
          DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo COMPONENT varnek)
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
