#!/usr/bin/env bash
# The Debian package: scripts/package.sh builds it from the build folder and lintian, the menu
# entry and the AppStream checks pass on it. Installed and removed again with dpkg in a private
# root (its own database; this machine's is not touched), it takes away its own files only: a
# working folder with patient files stays.
#   package_test.sh <source folder> <build folder>
set -euo pipefail
src="$1"
build="$2"
tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

QUORVEL_PACKAGE_PREBUILT=1 QUORVEL_BUILD_DIR="$build" bash "$src/scripts/package.sh" "$tmp/out"
deb=("$tmp"/out/quorvel_*_*.deb)
[ -f "${deb[0]}" ] || fail "no package built"
dpkg-deb -f "${deb[0]}" Depends | grep -q 'libqt6widgets6' || fail "dependencies not computed from the program"
# Every library is found by shlibdeps: those the program links (print support, libarchive) and
# those of its modules.
for dependency in libqt6printsupport6 libdcmtk17 libarchive13; do
  dpkg-deb -f "${deb[0]}" Depends | grep -q "$dependency" || fail "$dependency is not a dependency"
done
# Qt Charts is GPL-3 only: the chart is drawn by the program itself.
! dpkg-deb -f "${deb[0]}" Depends | grep -q libqt6charts6 || fail "libqt6charts6 is a dependency"
[ "$(dpkg-deb -f "${deb[0]}" Section)" = science ] || fail "section"
# TIFF radiographs are read by the program itself: Qt's image formats plugins, whose TIFF reader
# brings in libjbig0 (GPL-2+), are neither needed nor asked for, and nothing the package holds
# links libtiff or libjbig.
relations() { dpkg-deb -f "${deb[0]}" "$1" | tr ',' '\n' | sed 's/^ *//; s/ .*//'; }
for relation in "Recommends qt6-image-formats-plugins no" "Depends qt6-image-formats-plugins no" \
                "Depends libtiff6 no" "Depends libjbig0 no" "Recommends libjbig0 no"; do
  read -r field package expected <<<"$relation"
  if relations "$field" | grep -qx "$package"; then found=yes; else found=no; fi
  [ "$found" = "$expected" ] || fail "$package in $field: $found, expected $expected"
done
dpkg-deb -x "${deb[0]}" "$tmp/unpacked"
while IFS= read -r -d '' object; do
  ! ldd "$object" 2>/dev/null | grep -E 'libtiff|libjbig' || fail "${object#"$tmp/unpacked"} links TIFF or JBIG code"
done < <(find "$tmp/unpacked/usr" -type f \( -name '*.so' -o -perm -u+x \) -print0)

root="$tmp/root"
mkdir -p "$root/var/lib/dpkg/updates" "$root/var/lib/dpkg/info" "$root/var/lib/dpkg/triggers"
touch "$root/var/lib/dpkg/status"
pkg() {
  dpkg --root="$root" --admindir="$root/var/lib/dpkg" --log=/dev/null --force-not-root \
    --force-depends --force-script-chrootless "$@" >"$tmp/dpkg.log" 2>&1 || { cat "$tmp/dpkg.log"; fail "dpkg $*"; }
}
pkg -i "${deb[0]}"
[ -x "$root/usr/bin/quorvel" ] || fail "the launcher was not unpacked"
work="$root/home/clinica/Quorvel"
mkdir -p "$work/Análises"
cp "$root/usr/share/quorvel/"* "$work/"
printf 'ANA\r\nvisita\r\n' > "$work/Análises/ANA.pln"
pkg -r quorvel
[ ! -e "$root/usr/bin/quorvel" ] && [ ! -e "$root/usr/share/quorvel" ] || fail "removal left program files"
[ "$(cat "$work/Análises/ANA.pln")" = "$(printf 'ANA\r\nvisita\r\n')" ] || fail "removal touched a patient file"
[ -f "$work/Stats.cef" ] || fail "removal touched the working folder"
echo "package: ok"
