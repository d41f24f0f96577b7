#!/usr/bin/env bash
# The installed tree: every file where the FHS and the freedesktop.org specifications expect it,
# a menu entry and AppStream metadata that validate and carry what a clinician searches for, and
# a launcher that prepares the working folder by the same rules as the set-up and then runs the
# installed program in it.
#   install_test.sh <source folder> <build folder> <version>
set -euo pipefail
src="$1"
build="$2"
version="$3"
tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

DESTDIR="$tmp/dest" cmake --install "$build" --prefix /usr >/dev/null
usr="$tmp/dest/usr"
while read -r mode path; do
  [ -e "$usr/$path" ] || fail "$path not installed"
  [ "$(stat -c %a "$usr/$path")" = "$mode" ] || fail "$path has mode $(stat -c %a "$usr/$path"), not $mode"
done <<'LIST'
755 bin/quorvel
755 libexec/quorvel/quorvel
644 share/quorvel/Bolton.cef
644 share/quorvel/Stats.cef
644 share/quorvel/Normas.json
644 share/quorvel/Análises.rav
644 share/applications/br.com.quorvel.Quorvel.desktop
644 share/metainfo/br.com.quorvel.Quorvel.metainfo.xml
644 share/icons/hicolor/16x16/apps/quorvel.png
644 share/icons/hicolor/22x22/apps/quorvel.png
644 share/icons/hicolor/24x24/apps/quorvel.png
644 share/icons/hicolor/32x32/apps/quorvel.png
644 share/icons/hicolor/48x48/apps/quorvel.png
644 share/icons/hicolor/64x64/apps/quorvel.png
644 share/icons/hicolor/128x128/apps/quorvel.png
644 share/icons/hicolor/256x256/apps/quorvel.png
644 share/icons/hicolor/scalable/apps/quorvel.svg
644 share/man/man1/quorvel.1.gz
644 share/doc/quorvel/copyright
644 share/doc/quorvel/changelog.gz
LIST
# The modules (plugins of optional format backends, and the charts') in the program's library
# folder, each complete in itself: every symbol found in the libraries it names. Printing is
# part of the program, not a module.
libdir="$(sed -n 's/^CMAKE_INSTALL_LIBDIR:PATH=//p' "$build/CMakeCache.txt")"
for module in quorvel-dicom; do
  so="$usr/$libdir/quorvel/modules/$module.so"
  [ -f "$so" ] || fail "$libdir/quorvel/modules/$module.so not installed"
  [ "$(stat -c %a "$so")" = 644 ] || fail "$module.so has mode $(stat -c %a "$so"), not 644"
  ! ldd -r "$so" 2>&1 | grep -E 'undefined symbol|not found' || fail "$module.so does not load by itself"
done
# Nothing installed outside these folders (no build or test leftovers).
extra="$(cd "$usr" && find . -type f | grep -v -E "^\./(bin/quorvel|libexec/quorvel/|$libdir/quorvel/modules/quorvel-dicom\.so\$|share/(quorvel|applications|metainfo|icons/hicolor|man/man1|doc/quorvel|lintian/overrides)/)" || true)"
[ -z "$extra" ] || fail "unexpected files installed: $extra"
for size in 16 22 24 32 48 64 128 256; do
  identify -format '%wx%h' "$usr/share/icons/hicolor/${size}x${size}/apps/quorvel.png" | grep -qx "${size}x${size}" \
    || fail "the ${size}x${size} icon has another size"
done
for f in Bolton.cef Stats.cef Normas.json Análises.rav; do
  cmp -s "$usr/share/quorvel/$f" "$build/data/$f" || fail "share/quorvel/$f differs from the built data"
done

desktop="$usr/share/applications/br.com.quorvel.Quorvel.desktop"
desktop-file-validate "$desktop" | grep -v ': hint: ' && fail "desktop-file-validate complains" || true
desktop-file-validate "$desktop" >/dev/null || fail "desktop-file-validate"
entry() { sed -n "s/^$1=//p" "$desktop"; }
[ "$(entry Exec)" = quorvel ] || fail "the menu entry does not start the launcher"
[ "$(entry Icon)" = quorvel ] || fail "the menu entry names another icon"
[ "$(entry Categories)" = "Office;MedicalSoftware;Science;" ] || fail "categories: $(entry Categories)"
for word in ortodontia cefalometria Tweed Bolton; do
  entry Keywords | tr ';' '\n' | grep -qx "$word" || fail "keyword $word missing"
done
entry GenericName | grep -q 'ortodônticas' || fail "the generic name is not Portuguese"

metainfo="$usr/share/metainfo/br.com.quorvel.Quorvel.metainfo.xml"
appstreamcli validate --no-net "$metainfo" >/dev/null || fail "appstreamcli validate"
grep -q "<release version=\"$version\"" "$metainfo" || fail "the newest release is not $version"
grep -q '<p xml:lang="pt_BR">' "$metainfo" || fail "no Portuguese description"
grep -q '<launchable type="desktop-id">br.com.quorvel.Quorvel.desktop</launchable>' "$metainfo" \
  || fail "the metadata does not name the menu entry"
[ "$(grep -c '<caption>' "$metainfo")" -ge 3 ] || fail "screenshots without names"

# The launcher's rules, with a stand-in program that reports where and how it was started.
cp -a "$tmp/dest" "$tmp/stub"
printf '#!/bin/sh\npwd > "$QUORVEL_TEST_LOG"; echo "$@" >> "$QUORVEL_TEST_LOG"\n' > "$tmp/stub/usr/libexec/quorvel/quorvel"
export QUORVEL_TEST_LOG="$tmp/log"
HOME="$tmp/home" "$tmp/stub/usr/bin/quorvel" --one two
work="$tmp/home/Quorvel"
[ "$(stat -c %a "$work")" = 700 ] || fail "the new working folder is not private"
[ "$(sed -n 1p "$tmp/log")" = "$work" ] || fail "the program did not start in ~/Quorvel"
[ "$(sed -n 2p "$tmp/log")" = "--one two" ] || fail "the arguments were not passed on"
[ -d "$work/Análises" ] || fail "Análises/ not created"
for f in Bolton.cef Stats.cef Normas.json Análises.rav; do
  cmp -s "$work/$f" "$usr/share/quorvel/$f" || fail "$f not copied"
done
[ "$(stat -c %a "$work/Normas.json")" = 600 ] || fail "the clinic's norms are not private"

# Both folders are private whatever the umask, exactly as the set-up script makes them; an
# Análises that links to a shared folder is kept with that folder's own mode.
for mask in 022 002 000 077; do
  rm -rf "$tmp/m"
  (umask "$mask"; HOME="$tmp/m/home" "$tmp/stub/usr/bin/quorvel")
  (umask "$mask"; bash "$src/scripts/install-workdir.sh" "$build" "$tmp/m/set-up")
  for folder in "" /Análises; do
    [ "$(stat -c %a "$tmp/m/home/Quorvel$folder")" = 700 ] || fail "umask $mask: the launcher made Quorvel$folder $(stat -c %a "$tmp/m/home/Quorvel$folder")"
    [ "$(stat -c %a "$tmp/m/set-up$folder")" = 700 ] || fail "umask $mask: the set-up made $folder $(stat -c %a "$tmp/m/set-up$folder")"
  done
done
mkdir -m 775 "$tmp/m/shared"
mkdir -m 700 "$tmp/m/linked"
ln -s "$tmp/m/shared" "$tmp/m/linked/Análises"
QUORVEL_HOME="$tmp/m/linked" "$tmp/stub/usr/bin/quorvel"
[ -L "$tmp/m/linked/Análises" ] || fail "the launcher replaced a linked Análises"
[ "$(stat -c %a "$tmp/m/shared")" = 775 ] || fail "the launcher changed a shared Análises' mode"

# An upgrade: counts and patient files stay, the program data is refreshed, the folder's
# own mode is left alone.
chmod 750 "$work"
printf '\x00\x00\x00\x00\x07\x00\x00\x00\x02\x00\x00\x00\x01\x00\x00\x00' > "$work/Stats.cef"
printf 'ANA\r\nvisita\r\n' > "$work/Análises/ANA.pln"
printf '{"formato": "quorvel-normas", "versao": 1, "normas": {}}' > "$work/Normas.json"
printf 'stale' > "$work/Análises.rav"
printf 'stale' > "$work/Bolton.cef"
HOME="$tmp/home" "$tmp/stub/usr/bin/quorvel"
[ "$(od -An -tx1 "$work/Stats.cef" | tr -d ' \n')" = "00000000070000000200000001000000" ] || fail "Stats.cef was overwritten"
[ "$(cat "$work/Análises/ANA.pln")" = "$(printf 'ANA\r\nvisita\r\n')" ] || fail "a patient file changed"
[ "$(cat "$work/Normas.json")" = '{"formato": "quorvel-normas", "versao": 1, "normas": {}}' ] || fail "the clinic's norms were overwritten"
cmp -s "$work/Análises.rav" "$usr/share/quorvel/Análises.rav" || fail "Análises.rav not refreshed"
cmp -s "$work/Bolton.cef" "$usr/share/quorvel/Bolton.cef" || fail "Bolton.cef not refreshed"
[ "$(stat -c %a "$work")" = 750 ] || fail "the mode of an existing working folder changed"

# A newer package replaces the installed data; its time stamp may be later or earlier than
# the working copy's (dpkg keeps the package's own), and either way the copy is refreshed.
for stamp in "2031-05-01 10:00" "2001-05-01 10:00"; do
  printf 'release %s' "$stamp" > "$tmp/stub/usr/share/quorvel/Análises.rav"
  touch -d "$stamp" "$tmp/stub/usr/share/quorvel/Análises.rav"
  HOME="$tmp/home" "$tmp/stub/usr/bin/quorvel"
  cmp -s "$work/Análises.rav" "$tmp/stub/usr/share/quorvel/Análises.rav" || fail "Análises.rav dated $stamp not refreshed"
done
[ "$(od -An -tx1 "$work/Stats.cef" | tr -d ' \n')" = "00000000070000000200000001000000" ] || fail "Stats.cef changed by an upgrade"

# Started through a symbolic link (as a desktop may), it still finds its data and program.
ln -s "$tmp/stub/usr/bin/quorvel" "$tmp/link"
rm -f "$tmp/log"
HOME="$tmp/home" "$tmp/link" || fail "the launcher failed when started through a link"
[ "$(sed -n 1p "$tmp/log")" = "$work" ] || fail "started through a link, the program did not run"

# $QUORVEL_HOME wins over ~/Quorvel, and a missing parent folder is created too.
QUORVEL_HOME="$tmp/elsewhere/clinic" HOME="$tmp/home2" "$tmp/stub/usr/bin/quorvel"
[ "$(sed -n 1p "$tmp/log")" = "$tmp/elsewhere/clinic" ] || fail "QUORVEL_HOME not used"
[ ! -e "$tmp/home2/Quorvel" ] || fail "~/Quorvel created although QUORVEL_HOME is set"
[ -s "$tmp/elsewhere/clinic/Stats.cef" ] || fail "QUORVEL_HOME not prepared"

# A working folder that cannot be made (its parent is a file): the launcher stops before
# starting the program.
touch "$tmp/file"
rm -f "$tmp/log"
QUORVEL_HOME="$tmp/file/q" "$tmp/stub/usr/bin/quorvel" 2>/dev/null && fail "the launcher ignored a folder it cannot make"
[ ! -e "$tmp/log" ] || fail "the program started without a working folder"
echo "install: ok"
