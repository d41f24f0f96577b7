#!/usr/bin/env bash
# Starts the real program under a private Xvfb server in a fresh working folder and saves a
# PNG of each window it reaches: the splash, the start menu and every page of the main
# window (plus a few of its boxes). Also prints how long the splash took to appear.
#   screenshots.sh [output folder]   (default: screenshots/)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${QUORVEL_BUILD_DIR:-$root/build}"
out="$(mkdir -p "${1:-$root/screenshots}" && cd "${1:-$root/screenshots}" && pwd)"
bash "$root/scripts/build.sh" --target quorvel quorvel_data >/dev/null

work="$(mktemp -d)"
bash "$root/scripts/install-workdir.sh" "$build" "$work"
display=":$((90 + RANDOM % 100))"
Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
cleanup() { kill "$app" 2>/dev/null || true; kill "$xvfb" 2>/dev/null || true; rm -rf "$work"; }
trap cleanup EXIT
export DISPLAY="$display"
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done 2>/dev/null || sleep 1

visible() { xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n1; }
shot() {  # shot <file> <window title>
  local id
  for _ in $(seq 50); do id="$(visible "$2")"; [ -n "$id" ] && break; sleep 0.1; done
  [ -n "$id" ] || { echo "no window '$2' for $1" >&2; return 1; }
  sleep 0.4
  import -window "$id" "$out/$1.png"
  echo "saved $out/$1.png"
}
key() { xdotool key --clearmodifiers "$@"; sleep 0.4; }
# Without a window manager nothing moves the keyboard focus to a new window: do it here.
focus() { local id; id="$(visible "$1")"; [ -n "$id" ] && xdotool windowfocus --sync "$id" 2>/dev/null; sleep 0.2; }

cd "$work"
start=$(date +%s%N)
"$build/src/quorvel" &
app=$!
until [ -n "$(visible '^Quorvel$')" ]; do sleep 0.005; done
mapped=$(date +%s%N)
echo "splash mapped $(( (mapped - start) / 1000000 )) ms after the process started"
shot 01-splash '^Quorvel$'
# The start menu is 309 pixels wide, the main window 1016.
width_of_visible() { xdotool search --onlyvisible --name '^Quorvel$' getwindowgeometry 2>/dev/null | sed -n 's/.*Geometry: \([0-9]*\)x.*/\1/p' | head -n1; }
until [ "$(width_of_visible)" = 309 ]; do sleep 0.005; done
menu=$(date +%s%N)
echo "start menu shown $(( (menu - start) / 1000000 - 5000 )) ms beyond the 5-second splash (counted from the process start)"
shot 02-start-menu '^Quorvel$'

focus '^Quorvel$'
pressed=$(date +%s%N)
xdotool key --clearmodifiers space   # OBJETIVO
until [ "$(width_of_visible)" = 1016 ]; do sleep 0.005; done
shown=$(date +%s%N)
echo "main window shown $(( (shown - pressed) / 1000000 )) ms after the start-menu button"
sleep 0.4
focus '^Quorvel$'
shot 03-objective '^Quorvel$'
key alt+m f                    # Módulos > Fundamentos Teóricos
key alt+m a                    # Módulos > Análise de Tweed
shot 05-tweed '^Quorvel$'
key alt+m n                    # Análise de Bolton
shot 06-bolton '^Quorvel$'
key alt+m h                    # Histórico do Tratamento
shot 07-history '^Quorvel$'
key alt+m l                    # Plano de Tratamento
shot 08-plan '^Quorvel$'
key alt+m f
shot 04-foundations '^Quorvel$'
key alt+j s                    # Ajuda > Sobre...
shot 09-about '^Sobre...$'
focus '^Sobre...$'
key Return
focus '^Quorvel$'
key alt+j e                    # Ajuda > Estatísticas
shot 10-statistics '^Estatísticas$'
focus '^Estatísticas$'
key Return
focus '^Quorvel$'
key alt+a r                    # Arquivo > Sair
wait "$app" || true
app=""

# Filled pages and the secondary windows, as the widget tests lay them out offscreen.
bash "$root/scripts/build.sh" --target test_tweed_page test_bolton_page test_spaceentry test_guide >/dev/null 2>&1 || true
for t in test_tweed_page test_bolton_page test_spaceentry test_guide; do
  [ -x "$build/tests/$t" ] && QT_QPA_PLATFORM=offscreen QUORVEL_SCREENSHOT_DIR="$out" "$build/tests/$t" \
    --gtest_filter='*Screenshot*:*Fits*:*GroupsStandLeftToRight*' >/dev/null 2>&1 || true
done
ls "$out"/*_page.png "$out"/form4.png "$out"/guide_window.png 2>/dev/null | sed 's/^/saved /' 
echo "program ended; Stats.cef: $(od -An -tx1 "$work/Stats.cef" | tr -s ' ')"
