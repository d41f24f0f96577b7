#!/usr/bin/env bash
# The working-folder set-up: creates what is missing, refreshes the program data, and never
# touches Stats.cef or a patient file that is already there.
#   install_workdir_test.sh <source folder> <build folder>
set -euo pipefail
src="$1"
build="$2"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

bash "$src/scripts/install-workdir.sh" "$build" "$work/q"
[ -d "$work/q/Análises" ] || fail "Análises/ not created"
[ "$(stat -c %a "$work/q")" = 700 ] || fail "working folder is not 0700"
[ "$(stat -c %a "$work/q/Análises")" = 700 ] || fail "Análises/ is not 0700"
[ "$(stat -c %s "$work/q/Bolton.cef")" = 912 ] || fail "Bolton.cef is not 912 bytes"
[ "$(od -An -tx1 "$work/q/Stats.cef" | tr -d ' \n')" = "00000000000000000000000000000000" ] || fail "fresh Stats.cef"
[ -s "$work/q/Análises.rav" ] || fail "Análises.rav missing"

# Counts and patient files of a working folder in use.
printf '\x00\x00\x00\x00\x07\x00\x00\x00\x02\x00\x00\x00\x01\x00\x00\x00' > "$work/q/Stats.cef"
printf 'ANA\r\nvisita\r\n' > "$work/q/Análises/ANA.pln"
printf 'stale' > "$work/q/Análises.rav"
printf 'stale' > "$work/q/Bolton.cef"
bash "$src/scripts/install-workdir.sh" "$build" "$work/q"
[ "$(od -An -tx1 "$work/q/Stats.cef" | tr -d ' \n')" = "00000000070000000200000001000000" ] || fail "Stats.cef was overwritten"
[ "$(cat "$work/q/Análises/ANA.pln")" = "$(printf 'ANA\r\nvisita\r\n')" ] || fail "a patient file changed"
cmp -s "$work/q/Análises.rav" "$build/data/Análises.rav" || fail "Análises.rav not refreshed"
cmp -s "$work/q/Bolton.cef" "$build/data/Bolton.cef" || fail "Bolton.cef not refreshed"
# An Análises that links to a shared folder is kept, and so are that folder's permissions.
mkdir -m 775 "$work/share"
rm -rf "$work/q2"; mkdir -m 755 "$work/q2"; ln -s "$work/share" "$work/q2/Análises"
bash "$src/scripts/install-workdir.sh" "$build" "$work/q2"
[ -L "$work/q2/Análises" ] || fail "the link to the shared folder was replaced"
[ "$(stat -c %a "$work/share")" = 775 ] || fail "the shared folder's permissions changed"
[ "$(stat -c %a "$work/q2")" = 755 ] || fail "an existing working folder's permissions changed"
echo "install-workdir: ok"
