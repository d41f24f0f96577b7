#!/usr/bin/env bash
# The Windows program as a clinic gets it, under Wine and a private Xvfb server: the installer
# installs silently into a fresh Wine prefix, the installed program starts from the Start-menu
# shortcut's target and prepares Documentos\Quorvel, a Tweed case typed on the page by keyboard
# events is calculated and saved, and the .twe file written is byte for byte the one the Linux
# program writes for the same typing. Then the uninstaller removes the program and leaves the
# working folder as it was. Screenshots of the start menu and of the Tweed page are kept in
# build-windows/e2e/ to be looked at.
set -euo pipefail
source "$(dirname "$0")/env.sh"
build="${QUORVEL_BUILD_DIR:-$root/build}"
setup="$(bash "$root/scripts/windows/installer.sh" | tail -n 1)"
out="$winbuild/e2e"
rm -rf "$out"
mkdir -p "$out/home" "$out/linux"
export WINEPREFIX="$out/prefix" HOME="$out/home"
unset QUORVEL_HOME QT_QPA_PLATFORM
app=""
xvfb=""
cleanup() {
  [ -z "$app" ] || kill "$app" 2>/dev/null || true
  wineserver -k 2>/dev/null || true
  [ -z "$xvfb" ] || kill "$xvfb" 2>/dev/null || true
}
trap cleanup EXIT
fail() { import -window root "$out/failure.png" 2>/dev/null || true; echo "FAIL (Windows end to end): $*"; exit 1; }

start_xvfb 1024x768 || fail "no Xvfb server could be started"

wineboot -i >/dev/null 2>&1 || true
wine "$setup" /S || fail "the installer ended with an error"
for _ in $(seq 100); do pgrep -f 'setup.exe' >/dev/null || break; sleep 0.2; done
installed="$WINEPREFIX/drive_c/Program Files/Quorvel"
[ -f "$installed/quorvel.exe" ] || fail "quorvel.exe is not in C:\\Program Files\\Quorvel"
for f in Qt6Core.dll Qt6Widgets.dll platforms/qwindows.dll data/Bolton.cef fonts/DejaVuSans.ttf licencas/LEIA-ME.txt Desinstalar.exe; do
  [ -f "$installed/$f" ] || fail "$f was not installed"
done
wine reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Quorvel' /v DisplayName 2>/dev/null \
  | grep -q Quorvel || fail "no uninstaller is listed in Aplicativos e recursos"
ls "$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Quorvel/Quorvel.lnk" >/dev/null \
  || fail "no Start-menu shortcut"

visible() { { xdotool search --onlyvisible --name "$1" 2>/dev/null || true; } | head -n1; }
wait_window() {  # wait_window <title> <seconds>
  for _ in $(seq $(( $2 * 10 ))); do [ -n "$(visible "$1")" ] && return 0; sleep 0.1; done
  return 1
}
width() { { xdotool getwindowgeometry "$(visible '^Quorvel$')" 2>/dev/null || true; } | sed -n 's/.*Geometry: \([0-9]*\)x.*/\1/p'; }
# wait_width <below|above> <pixels> <what>: the start menu is narrow, the splash and the main
# window wide.
wait_width() {
  local w
  for _ in $(seq 300); do
    w="$(width)"
    if [ -n "$w" ]; then
      if [ "$1" = below ] && [ "$w" -lt "$2" ]; then return 0; fi
      if [ "$1" = above ] && [ "$w" -gt "$2" ]; then return 0; fi
    fi
    sleep 0.1
  done
  fail "no $3 within 30 s (the window is $(width) pixels wide)"
}
key() { xdotool key --clearmodifiers "$@"; sleep 0.3; }
focus() { xdotool windowfocus --sync "$(visible '^Quorvel$')" 2>/dev/null || true; sleep 0.3; }
# The Tweed case, typed as a clinician types it: the patient, then the measurements in the
# page's own order (Tab moves from one to the next), CALCULAR, "Yes" to keep the IMPA, SALVAR.
type_tweed_case() {  # type_tweed_case <screenshot of the saved page>
  key alt+m a
  focus
  shot="$1"
  source "$root/scripts/windows/tweed-case.sh"
}
# Windows: the installed program, started as its shortcut starts it.
start=$(date +%s%N)
(cd "$installed" && exec wine ./quorvel.exe) >"$out/program.log" 2>&1 &
app=$!
wait_window '^Quorvel$' 90 || fail "the program showed no window within 90 s"
echo "Windows: splash after $(( ($(date +%s%N) - start) / 1000000 )) ms under Wine"
wait_width below 500 "start menu"   # after the 5-second splash
focus
import -window root "$out/windows-start-menu.png"
key space   # OBJETIVO: the main window
wait_width above 900 "main window"
type_tweed_case "$out/windows-tweed-page.png"
key alt+a r
for _ in $(seq 100); do kill -0 "$app" 2>/dev/null || break; sleep 0.2; done
app=""
# Documentos\Quorvel: Wine's Documents folder is a link into $HOME.
work="$(readlink -f "$WINEPREFIX/drive_c/users/$(id -un)/Documents")/Quorvel"
[ -n "$work" ] && [ -f "$work/Stats.cef" ] && [ -d "$work/Análises" ] || fail "Documentos\\Quorvel was not prepared"
twe="$(ls "$work/Análises/"*.twe 2>/dev/null | head -n1)"
[ -n "$twe" ] || fail "no .twe file was saved; program output: $(cat "$out/program.log")"

# Linux: the same typing into the program built here, in a working folder of its own.
linux="$out/linux/Quorvel"
bash "$root/scripts/install-workdir.sh" "$build" "$linux"
start=$(date +%s%N)
(cd "$linux" && exec "$build/src/quorvel") >"$out/linux.log" 2>&1 &
app=$!
wait_window '^Quorvel$' 30 || fail "the Linux program showed no window"
echo "Linux: splash after $(( ($(date +%s%N) - start) / 1000000 )) ms"
wait_width below 500 "start menu"
focus
key space
wait_width above 900 "main window"
type_tweed_case "$out/linux-tweed-page.png"
key alt+a r
for _ in $(seq 100); do kill -0 "$app" 2>/dev/null || break; sleep 0.2; done
app=""
ltwe="$linux/Análises/$(basename "$twe")"
[ -f "$ltwe" ] || fail "the Linux program saved no $(basename "$twe")"
cmp "$twe" "$ltwe" || fail "the .twe files differ: Windows $(od -An -c "$twe" | head -3) Linux $(od -An -c "$ltwe" | head -3)"
echo "Windows and Linux wrote the same $(basename "$twe") ($(stat -c %s "$twe") bytes)"

# The uninstaller removes the program and leaves the working folder as it was.
before="$(cd "$work" && find . -type f -exec sha256sum {} + | sort)"
wine "$installed/Desinstalar.exe" /S
for _ in $(seq 100); do [ -e "$installed/quorvel.exe" ] || break; sleep 0.2; done
[ ! -e "$installed/quorvel.exe" ] || fail "the uninstaller left the program"
wine reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Quorvel' >/dev/null 2>&1 \
  && fail "the uninstaller left its entry in Aplicativos e recursos"
[ "$(cd "$work" && find . -type f -exec sha256sum {} + | sort)" = "$before" ] || fail "the uninstaller changed the working folder"
echo "Windows end to end: installed, started, typed, calculated, saved, uninstalled; working folder kept"
