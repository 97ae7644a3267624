# `cpack -G DEB` in the build directory makes the two Debian packages of what
# cmake/Install.cmake installs, for /usr, one a component: varnek-headless
# (Qt Core, Network and D-Bus only, for servers) and varnek (the window, with
# the Qt GUI stack), which needs varnek-headless of the same version for the
# files they share. dpkg-shlibdeps (dpkg-dev) finds each package's Qt runtime
# packages and C++ runtime from its program's libraries.
set(CPACK_PACKAGE_NAME varnek)
set(CPACK_PACKAGE_VENDOR "The Varnek developers")
set(CPACK_PACKAGE_CONTACT "The Varnek developers <varnek@users.noreply.github.com>")
set(CPACK_PACKAGE_HOMEPAGE_URL "https://varnek.github.io/")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
# Installs with CMAKE_INSTALL_PREFIX=/usr into a staging DESTDIR, so that
# what is written at install time (the unit's ExecStart) names /usr.
set(CPACK_SET_DESTDIR ON)
set(CPACK_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_GROUPING IGNORE)
set(CPACK_COMPONENTS_ALL varnek-headless)
if(VARNEK_BUILD_GUI)
  list(APPEND CPACK_COMPONENTS_ALL varnek)
endif()

# The Debian revision: packaging/debian/changelog has an entry for this version.
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(VARNEK_DEBIAN_VERSION ${PROJECT_VERSION}-${CPACK_DEBIAN_PACKAGE_RELEASE})
set(CPACK_DEBIAN_PACKAGE_SOURCE varnek)
set(CPACK_DEBIAN_PACKAGE_SECTION net)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

# Descriptions: the first line is the synopsis, an empty line starts a
# paragraph (CPack indents the lines and writes " ." for it).
set(VARNEK_DEBIAN_ABOUT
    "Varnek logs in to one Direct Connect (NMDC) hub as an operator, keeps the
hub's user list, runs twelve detections on every user and kicks the users it
finds with command templates. Operators steer it by private message.")

set(CPACK_DEBIAN_VARNEK-HEADLESS_PACKAGE_NAME varnek-headless)
set(CPACK_DEBIAN_VARNEK-HEADLESS_PACKAGE_SHLIBDEPS ON)
# Qt's TLS backend loads OpenSSL at run time (dlopen), which dpkg-shlibdeps
# cannot see: TLS hubs (nmdcs://) need it. The found ones are added to this.
set(CPACK_DEBIAN_VARNEK-HEADLESS_PACKAGE_DEPENDS "libssl3")
set(CPACK_COMPONENT_VARNEK-HEADLESS_DESCRIPTION
    "Direct Connect hub bot, headless and as a system service
${VARNEK_DEBIAN_ABOUT}

This package holds the program without a window, varnek-headless, for
servers: it needs only Qt Core, Network and D-Bus, and GNU Readline for
the lines typed at a terminal. Each bot runs as an
instance of the systemd unit template varnek-headless@NAME, as a user of
its own, with its settings in /var/lib/varnek/NAME and its logs in
/var/log/varnek/NAME, which logrotate rotates. Removing the package stops
the running bots; purging it also disables them, but leaves /var/lib/varnek
and /var/log/varnek (the bots' settings and logs) as they are.")
# Before the split, the package varnek held both programs: this one takes
# over its files when upgrading from it.
set(CPACK_DEBIAN_VARNEK-HEADLESS_PACKAGE_BREAKS "varnek (<< ${VARNEK_DEBIAN_VERSION})")
set(CPACK_DEBIAN_VARNEK-HEADLESS_PACKAGE_REPLACES "varnek (<< ${VARNEK_DEBIAN_VERSION})")
set(CPACK_DEBIAN_VARNEK-HEADLESS_PACKAGE_CONTROL_EXTRA
    ${CMAKE_SOURCE_DIR}/packaging/debian/varnek-headless/conffiles
    ${CMAKE_SOURCE_DIR}/packaging/debian/varnek-headless/postinst
    ${CMAKE_SOURCE_DIR}/packaging/debian/varnek-headless/prerm
    ${CMAKE_SOURCE_DIR}/packaging/debian/varnek-headless/postrm)

set(CPACK_DEBIAN_VARNEK_PACKAGE_NAME varnek)
set(CPACK_DEBIAN_VARNEK_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_VARNEK_PACKAGE_DEPENDS "varnek-headless (= ${VARNEK_DEBIAN_VERSION}), libssl3")
set(CPACK_COMPONENT_VARNEK_DESCRIPTION
    "Direct Connect hub bot, with a window
${VARNEK_DEBIAN_ABOUT}

This package holds the program with a window (Qt Widgets), varnek, with its
desktop entry. For a server without a display, install varnek-headless
alone.")
include(CPack)
