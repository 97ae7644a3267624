# `cpack -G DEB` in the build directory makes a Debian package of what
# cmake/Install.cmake installs, for /usr. dpkg-shlibdeps (dpkg-dev) finds the
# Qt runtime packages and the C++ runtime from the programs' libraries.
set(CPACK_PACKAGE_NAME varnek)
set(CPACK_PACKAGE_VENDOR "The Varnek developers")
set(CPACK_PACKAGE_CONTACT "The Varnek developers <varnek@users.noreply.github.com>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Direct Connect hub bot: detects and kicks users, steered by private message")
set(CPACK_PACKAGE_DESCRIPTION
    "Varnek logs in to one Direct Connect (NMDC) hub as an operator, keeps the
hub's user list, runs twelve detections on every user and kicks the users it
finds with command templates. Operators steer it by private message. It runs
with a window (varnek) or headless on a server (varnek-headless), also as the
systemd service varnek-headless@NAME.")
set(CPACK_PACKAGE_HOMEPAGE_URL "https://varnek.github.io/")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
# Installs with CMAKE_INSTALL_PREFIX=/usr into a staging DESTDIR, so that
# what is written at install time (the unit's ExecStart) names /usr.
set(CPACK_SET_DESTDIR ON)
set(CPACK_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_SECTION net)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt's TLS backend loads OpenSSL at run time (dlopen), which dpkg-shlibdeps
# cannot see: TLS hubs (nmdcs://) need it. The found ones are added to this.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libssl3")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
