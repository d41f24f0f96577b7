#!/usr/bin/env bash
# Cross-builds the Windows program and its tests into build-windows/ (or
# $QUORVEL_WINDOWS_BUILD_DIR) with the mingw-w64 compilers and the Qt of ../shared/toolchains.
# DCMTK (for the DICOM reader) and dlib (for the landmark proposals) are cross-built from Debian's
# source packages once and kept in the build folder. Extra arguments go to the build
# ("--target quorvel").
set -euo pipefail
source "$(dirname "$0")/env.sh"
bash "$root/scripts/deps.sh"
mkdir -p "$winbuild/toolchain"
started=$SECONDS
archive="$toolchains/qt6-6.4.2-mingw64.tar.xz"
if [ ! -f "$qtprefix/.unpacked" ] || [ "$archive" -nt "$qtprefix/.unpacked" ]; then
  rm -rf "$qtprefix"
  tar -C "$winbuild/toolchain" -xJf "$archive"
  touch "$qtprefix/.unpacked"
fi
# Qt's own texts in Portuguese (file and print dialogs), where this Qt looks for them.
mkdir -p "$qtprefix/translations"
cp -u /usr/share/qt6/translations/qtbase_pt_BR.qm "$qtprefix/translations/"
unpacked=$SECONDS
dcmtk="$(bash "$root/scripts/windows/dcmtk.sh" "$winbuild/deps" "$qtprefix/toolchain-mingw64.cmake" | tail -n 1)"
dcmtk_done=$SECONDS
dlib="$(bash "$root/scripts/windows/dlib.sh" "$winbuild/deps" "$qtprefix/toolchain-mingw64.cmake" | tail -n 1)"
dlib_done=$SECONDS
cmake -S "$root" -B "$winbuild" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE="$qtprefix/toolchain-mingw64.cmake" -DZLIB_ROOT="$qtprefix" \
  -DCMAKE_CXX_FLAGS_RELEASE="-O2 -DNDEBUG" -DDCMTK_DIR="$dcmtk/cmake" \
  -Ddlib_DIR="$dlib/lib/cmake/dlib" -DQUORVEL_BENCH=OFF >/dev/null
cmake --build "$winbuild" "$@"
echo "Windows build: Qt unpacked in $((unpacked - started)) s, DCMTK in $((dcmtk_done - unpacked)) s," \
  "dlib in $((dlib_done - dcmtk_done)) s, the program and its tests in $((SECONDS - dlib_done)) s"
