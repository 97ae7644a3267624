#!/usr/bin/env bash
# Installs the Debian packages that building and testing Varnek need, when any
# is missing. Needs root (or sudo) only when something must be installed.
#
#   scripts/deps.sh [--test] [--fuzz]
set -euo pipefail

PACKAGES=(
  g++ cmake ninja-build pkg-config ccache
  libgtest-dev libgmock-dev libbenchmark-dev
  qt6-base-dev qt6-base-dev-tools libgl-dev qt6-qpa-plugins qt6-translations-l10n
  # GNU Readline edits the lines typed at the headless program's terminal.
  libreadline-dev
  python3 fonts-dejavu-core
  # Qt loads OpenSSL at run time for TLS hubs (nmdcs://).
  libssl3
)
for flag in "$@"; do
  case "$flag" in
    # make and the three -dev packages build the PtokaX hub of the end-to-end
    # test; dbus-daemon gives the media-title test a private session bus;
    # dpkg-dev (dpkg-shlibdeps) makes the Debian packages, which lintian checks
    # and whose desktop entry, metainfo, man pages, service unit and logrotate
    # file the last five check; openssl makes the certificates of the scripted
    # TLS hubs.
    --test) PACKAGES+=(openssl xvfb x11-utils imagemagick microdc2 ncdc tmux dbus-daemon make liblua5.3-dev libtinyxml-dev zlib1g-dev clang-format clang-tidy
                       dpkg-dev lintian desktop-file-utils appstream systemd man-db logrotate) ;;
    --fuzz) PACKAGES+=(clang libclang-rt-14-dev) ;;
  esac
done

missing=()
for package in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$package")
  fi
done
if ((${#missing[@]} == 0)); then
  exit 0
fi

echo "Installing: ${missing[*]}"
SUDO=""
if [[ $(id -u) -ne 0 ]]; then
  SUDO="sudo"
fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
