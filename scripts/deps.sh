#!/usr/bin/env bash
# Installs the Debian packages Quorvel builds, runs and tests with, when any is missing.
set -euo pipefail
packages=(build-essential cmake ninja-build ccache pkg-config qt6-base-dev libqt6opengl6-dev qt6-translations-l10n libgl-dev libxrandr-dev libx11-dev
          libgtest-dev libbenchmark-dev libfuse3-dev fuse3 fonts-dejavu-core xvfb xauth x11-utils xdotool imagemagick poppler-utils
          libdcmtk-dev libdlib-dev qt6-image-formats-plugins libtiff-tools libarchive-dev clang libclang-rt-14-dev
          cups cups-client printer-driver-cups-pdf
          dpkg-dev file lintian desktop-file-utils appstream
          # The Windows program: cross compilers, Wine to run it and its tests, NSIS for the installer.
          g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix wine64 wine nsis)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
