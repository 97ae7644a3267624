#!/usr/bin/env bash
# Builds the two Debian packages (varnek-headless, varnek) from a build
# directory, checks them with lintian and their Depends, installs them with
# apt, checks what each installed (the validators of the desktop entry, the
# metainfo and the service unit, logrotate's reading of its file) and that the
# maintainer scripts can run again,
# runs the installed headless program as an unprivileged user with its files
# under XDG directories against a scripted hub, then removes and purges the
# packages and checks that nothing of them is left but the bots' data.
#
#   scripts/test-package.sh [BUILD_DIR]     (default build-test)
#
# Installing needs root. Without it the test is skipped with a message, but
# fails in CI (CI=true), where it must run.
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD_DIR=${1:-build-test}
TEST_USER=varnek-test
PACKAGES=(varnek varnek-headless)
# An instance that the test enables (without starting it) to see what
# removing and purging do to an enabled bot, and a directory of its data.
TEST_BOT=varnek-headless@package-test.service
TEST_BOT_LINK=/etc/systemd/system/multi-user.target.wants/$TEST_BOT
TEST_BOT_DATA=/var/lib/varnek/package-test

fail() {
  echo "test-package: FAILED: $*" >&2
  exit 1
}

if [[ $(id -u) -ne 0 ]]; then
  if [[ ${CI:-} == true ]]; then
    fail "installing the packages needs root, and CI must test them"
  fi
  echo "test-package: SKIPPED: installing the packages needs root (run it as root to test the packages)" >&2
  exit 0
fi

installed() {
  dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed"
}

# An earlier run may have left one of them installed, or the single varnek
# package that held both programs before they were split.
for package in "${PACKAGES[@]}"; do
  if installed "$package"; then
    echo "test-package: removing the $package package that an earlier run left installed"
    dpkg -r "$package" >/dev/null
  fi
done

rm -f "$BUILD_DIR"/varnek_*.deb "$BUILD_DIR"/varnek-headless_*.deb
(cd "$BUILD_DIR" && cpack -G DEB >/dev/null)
headless_deb=$(realpath "$BUILD_DIR"/varnek-headless_*.deb)
window_deb=$(realpath "$BUILD_DIR"/varnek_*.deb)
version=$(dpkg-deb -f "$headless_deb" Version)
headless_depends=$(dpkg-deb -f "$headless_deb" Depends)
window_depends=$(dpkg-deb -f "$window_deb" Depends)
echo "packages: $headless_deb $window_deb"
echo "varnek-headless Depends: $headless_depends"
echo "varnek Depends: $window_depends"

# Depends: the server package has no GUI stack; the window needs the other
# package of its own version. A dependency is matched as a whole name.
depends_on() {
  [[ ", $1," == *", $2 "* || ", $1," == *", $2,"* ]]
}
[[ $(dpkg-deb -f "$window_deb" Version) == "$version" ]] || fail "the two packages have different versions"
for runtime in libqt6core6 libqt6network6 libqt6dbus6 libssl3 libreadline8; do
  depends_on "$headless_depends" "$runtime" || fail "varnek-headless does not depend on $runtime"
done
for runtime in libqt6gui6 libqt6widgets6; do
  if depends_on "$headless_depends" "$runtime"; then
    fail "varnek-headless depends on $runtime, which only the window needs"
  fi
  depends_on "$window_depends" "$runtime" || fail "varnek does not depend on $runtime"
done
[[ ", $window_depends," == *", varnek-headless (= $version),"* ]] ||
  fail "varnek does not depend on varnek-headless (= $version)"

# Lintian errors fail; its warnings and notes are shown.
lintian --fail-on error --display-info "$headless_deb" "$window_deb" || fail "lintian found errors"

cleanup() {
  for package in "${PACKAGES[@]}"; do
    if installed "$package"; then
      dpkg --purge "$package" >/dev/null || true
    fi
  done
  rm -f "$TEST_BOT_LINK"
  if [[ ${made_data:-} == true ]]; then
    rm -rf "$TEST_BOT_DATA"
    rmdir --ignore-fail-on-non-empty /var/lib/varnek 2>/dev/null || true
  fi
}
trap cleanup EXIT
DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "$headless_deb" "$window_deb" >/dev/null

# Each file in the package it belongs to.
while read -r package file; do
  [[ -f $file ]] || fail "$file was not installed"
  owner=$(dpkg -S "$file" | cut -d: -f1)
  [[ $owner == "$package" ]] || fail "$file is in $owner, not in $package"
done <<'EOF'
varnek-headless /usr/bin/varnek-headless
varnek-headless /usr/share/varnek/translations/English.lang
varnek-headless /usr/share/varnek/images/con32.ico
varnek-headless /usr/share/man/man1/varnek-headless.1.gz
varnek-headless /usr/lib/systemd/system/varnek-headless@.service
varnek-headless /etc/logrotate.d/varnek-headless
varnek-headless /usr/share/doc/varnek-headless/copyright
varnek-headless /usr/share/doc/varnek-headless/changelog.Debian.gz
varnek /usr/bin/varnek
varnek /usr/share/man/man1/varnek.1.gz
varnek /usr/share/applications/io.github.varnek.Varnek.desktop
varnek /usr/share/metainfo/io.github.varnek.Varnek.metainfo.xml
varnek /usr/share/icons/hicolor/scalable/apps/io.github.varnek.Varnek.svg
varnek /usr/share/doc/varnek/copyright
varnek /usr/share/doc/varnek/changelog.Debian.gz
EOF
for package in "${PACKAGES[@]}"; do
  changelog=$(mktemp)
  zcat "/usr/share/doc/$package/changelog.Debian.gz" >"$changelog"
  changelog_version=$(dpkg-parsechangelog -l "$changelog" -S Version)
  rm -f "$changelog"
  [[ $changelog_version == "$version" ]] ||
    fail "the changelog of $package is for $changelog_version, the package is $version"
done
desktop-file-validate /usr/share/applications/io.github.varnek.Varnek.desktop
appstreamcli validate --no-net /usr/share/metainfo/io.github.varnek.Varnek.metainfo.xml
systemd-analyze verify /usr/lib/systemd/system/varnek-headless@.service
[[ $(dpkg-query -W -f='${Conffiles}' varnek-headless) == *" /etc/logrotate.d/varnek-headless "* ]] ||
  fail "/etc/logrotate.d/varnek-headless is no conffile"
# A dry run: logrotate reads the file and finds nothing wrong with it.
logrotate --debug /etc/logrotate.d/varnek-headless >/dev/null 2>&1 ||
  fail "logrotate finds an error in /etc/logrotate.d/varnek-headless"
man -l /usr/share/man/man1/varnek-headless.1.gz >/dev/null

# Configuring again changes nothing and succeeds.
for attempt in 1 2; do
  DPKG_MAINTSCRIPT_PACKAGE=varnek-headless /var/lib/dpkg/info/varnek-headless.postinst configure "$version" ||
    fail "the postinst failed when configuring again ($attempt)"
done

if ! id -u "$TEST_USER" >/dev/null 2>&1; then
  useradd --system --create-home --shell /usr/sbin/nologin "$TEST_USER"
fi
python3 tests/e2e/installed_login.py "$TEST_USER"

# An enabled bot with its data: removing keeps it enabled, purging disables
# it, and neither touches its data.
systemctl enable --quiet "$TEST_BOT"
[[ -L $TEST_BOT_LINK ]] || fail "systemctl enable made no $TEST_BOT_LINK"
made_data=false
if [[ ! -e $TEST_BOT_DATA ]]; then
  made_data=true
  mkdir -p "$TEST_BOT_DATA"
  echo "[Settings]" >"$TEST_BOT_DATA/Varnek.ini"
fi

DEBIAN_FRONTEND=noninteractive apt-get remove -y -qq varnek varnek-headless >/dev/null
for package in "${PACKAGES[@]}"; do
  ! installed "$package" || fail "apt-get remove left $package installed"
done
[[ ! -e /usr/bin/varnek-headless && ! -e /usr/bin/varnek ]] || fail "apt-get remove left a program"
[[ -L $TEST_BOT_LINK ]] || fail "apt-get remove disabled $TEST_BOT, which only purging does"
[[ -f /etc/logrotate.d/varnek-headless ]] || fail "apt-get remove deleted the logrotate file, a conffile"
# varnek, without maintainer scripts or conffiles, is gone whole; what is
# left of varnek-headless is for its postrm to purge.
[[ $(dpkg-query -W -f='${Status}' varnek-headless) == "deinstall ok config-files" ]] ||
  fail "after apt-get remove varnek-headless is not left to be purged"

dpkg --purge varnek-headless >/dev/null
for package in "${PACKAGES[@]}"; do
  if dpkg -L "$package" >/dev/null 2>&1; then
    fail "dpkg still knows the files of $package after purging it"
  fi
  [[ ! -e /usr/share/doc/$package ]] || fail "purging left /usr/share/doc/$package"
done
for path in /usr/bin/varnek-headless /usr/bin/varnek /usr/share/varnek \
  /usr/lib/systemd/system/varnek-headless@.service /usr/share/man/man1/varnek-headless.1.gz \
  /etc/logrotate.d/varnek-headless; do
  [[ ! -e $path ]] || fail "purging left $path"
done
[[ ! -L $TEST_BOT_LINK ]] || fail "purging left $TEST_BOT enabled"
[[ -f $TEST_BOT_DATA/Varnek.ini ]] || fail "purging removed $TEST_BOT_DATA/Varnek.ini, the bot's data"

# Purging once more, when nothing is left to do, succeeds.
DPKG_MAINTSCRIPT_PACKAGE=varnek-headless sh packaging/debian/varnek-headless/postrm purge ||
  fail "the postrm failed when purging again"
echo "test-package: passed"
