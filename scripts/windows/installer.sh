#!/usr/bin/env bash
# Makes the Windows installer: builds the program (build.sh), lays out the installed folder in
# build-windows/dist (the program, the DLLs it loads, Qt's plugins, the DICOM reader and DCMTK,
# the data files, the fonts the reports use, Qt's Portuguese texts, the licences, dlib's among
# them though it is linked in statically) and packs it
# with NSIS into build-windows/quorvel-<version>-setup.exe, whose path it prints last.
set -euo pipefail
source "$(dirname "$0")/env.sh"
bash "$root/scripts/windows/build.sh" --target quorvel quorvel_modules quorvel_data >&2
version="$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$winbuild/CMakeCache.txt")"
dcmtk="$(sed -n 's/^DCMTK_DIR:[A-Z]*=//p' "$winbuild/CMakeCache.txt")"
dlib="$(sed -n 's/^dlib_DIR:[A-Z]*=//p' "$winbuild/CMakeCache.txt")"          # <prefix>/lib/cmake/dlib
dist="$winbuild/dist"
rm -rf "$dist"
mkdir -p "$dist"

# The DLLs the program and the DICOM reader import, found in the Qt prefix, DCMTK and the
# mingw runtime (deploy-mingw.sh reads their import tables).
prefix="$(mktemp -d)"
trap 'rm -rf "$prefix"' EXIT
mkdir -p "$prefix/bin"
ln -s "$qtprefix/bin/"*.dll "$prefix/bin/"
dcmtkprefix=""
if [ -n "$dcmtk" ] && [ -d "$dcmtk" ]; then
  dcmtkprefix="$(cd "$dcmtk" && while [ ! -d bin ] && [ "$PWD" != / ]; do cd ..; done; pwd)"
  ln -s "$dcmtkprefix/bin/"*.dll "$prefix/bin/"
fi
ln -s "$qtprefix/plugins" "$prefix/plugins"
dlibprefix=""
if [ -n "$dlib" ] && [ "$dlib" = "${dlib%-NOTFOUND}" ]; then
  dlibprefix="$(cd "$dlib/../../.." && pwd)"
  [ -f "$dlibprefix/share/doc/dlib/LICENSE.txt" ] || { echo "installer.sh: dlib's notice is not in $dlibprefix" >&2; exit 1; }
fi
modules=()
for m in "$winbuild"/src/*.dll; do [ -f "$m" ] && modules+=("$m"); done
"$qtprefix/deploy-mingw.sh" -p "$prefix" "$winbuild/src/quorvel.exe" "${modules[@]}" "$dist" >&2
# The data files the first start copies into the working folder.
mkdir -p "$dist/data" "$dist/fonts" "$dist/translations" "$dist/licencas"
cp "$winbuild/data/"{Bolton.cef,Stats.cef,Normas.json,Análises.rav} "$dist/data/"
cp /usr/share/fonts/truetype/dejavu/DejaVu{Sans,Sans-Bold,Sans-Oblique,Sans-BoldOblique,Serif,Serif-Bold}.ttf "$dist/fonts/"
cp /usr/share/qt6/translations/qtbase_pt_BR.qm "$dist/translations/"
cp "$root/packaging/windows/quorvel.ico" "$dist/"
bash "$root/scripts/windows/licences.sh" "$dist" "$qtprefix" "$dcmtkprefix" "$dlibprefix" >&2

# What the installer installs and the uninstaller removes: exactly these files.
files="$winbuild/installer-files.nsh"
unfiles="$winbuild/installer-unfiles.nsh"
( cd "$dist"
  find . -type d | sort | sed 's|^\./\?||' | while read -r d; do
    win="${d//\//\\}"
    echo "SetOutPath \"\$INSTDIR${win:+\\$win}\""
    find "./$d" -maxdepth 1 -type f | sort | while read -r f; do
      echo "File \"$dist/${f#./}\""
    done
  done ) > "$files"
( cd "$dist"
  find . -type f | sort | sed 's|^\./||; s|/|\\|g; s|.*|Delete "$INSTDIR\\&"|'
  find . -mindepth 1 -type d | sort -r | sed 's|^\./||; s|/|\\|g; s|.*|RMDir "$INSTDIR\\&"|' ) > "$unfiles"
out="$winbuild/quorvel-$version-setup.exe"
makensis -INPUTCHARSET UTF8 -V2 -DVERSION="$version" -DDIST="$dist" -DFILES="$files" -DUNFILES="$unfiles" -DOUTFILE="$out" \
  "$root/packaging/windows/quorvel.nsi" >&2
echo "$out"
