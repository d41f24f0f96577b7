#!/usr/bin/env bash
# The installed program started as the menu starts it: the launcher under a private Xvfb server
# with a fresh HOME. The splash and then the start menu appear, ~/Quorvel is made, the program
# ends cleanly from the menu's "SAIR"; started again, it keeps the counts and patient files.
#   installed_program_test.sh <build folder>
set -euo pipefail
build="$1"
tmp="$(mktemp -d)"
app=""
xvfb=""
cleanup() {
  [ -z "$app" ] || kill "$app" 2>/dev/null || true
  [ -z "$xvfb" ] || kill "$xvfb" 2>/dev/null || true
  rm -rf "$tmp"
}
trap cleanup EXIT
fail() { echo "FAIL: $*"; [ -s "$tmp/app.log" ] && sed 's/^/program: /' "$tmp/app.log"; exit 1; }

DESTDIR="$tmp/dest" cmake --install "$build" --prefix /usr >/dev/null
# A private server on a display nobody else uses (other servers may run on this machine, some
# with their lock files gone): skip numbers in use and keep the first server that answers.
for _ in $(seq 10); do
  n=$((200 + RANDOM % 700))
  [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
  Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb=$!
  for _ in $(seq 100); do
    kill -0 "$xvfb" 2>/dev/null || break
    xdpyinfo -display ":$n" >/dev/null 2>&1 && break
    sleep 0.1
  done
  kill -0 "$xvfb" 2>/dev/null && xdpyinfo -display ":$n" >/dev/null 2>&1 && break
  kill "$xvfb" 2>/dev/null || true
  xvfb=""
done
[ -n "$xvfb" ] || fail "no Xvfb server could be started"
export DISPLAY=":$n"
export HOME="$tmp/home"
mkdir -p "$HOME"
unset QUORVEL_HOME QT_QPA_PLATFORM
work="$HOME/Quorvel"

visible_width() {
  xdotool search --onlyvisible --name '^Quorvel$' getwindowgeometry 2>/dev/null \
    | sed -n 's/.*Geometry: \([0-9]*\)x.*/\1/p' | head -n1
}
wait_width() {  # wait_width <pixels> <what>: the Quorvel window is shown at that width
  for _ in $(seq 400); do [ "$(visible_width)" = "$1" ] && return 0; sleep 0.05; done
  fail "no $2 ($1 pixels wide) within 20 s; shown: '$(visible_width)'"
}
start_program() {
  for _ in 1 2 3; do
    "$tmp/dest/usr/bin/quorvel" >"$tmp/app.log" 2>&1 &
    app=$!
    for _ in $(seq 400); do
      [ -z "$(visible_width)" ] || return 0
      kill -0 "$app" 2>/dev/null || break
      sleep 0.05
    done
    kill -0 "$app" 2>/dev/null && return 0
    wait "$app" || true
    app=""
    # A busy shared machine's server may refuse a connection now and then; anything else is a fault.
    grep -q 'could not connect to display' "$tmp/app.log" || fail "the program ended before its splash"
  done
  fail "the program could not connect to the X server"
}
run_once() {
  start_program
  wait_width 699 "splash"
  wait_width 309 "start menu"
  # Docks match the window to the menu entry by its class.
  local class
  class="$(sed -n 's/^StartupWMClass=//p' "$tmp/dest/usr/share/applications/br.com.quorvel.Quorvel.desktop")"
  xprop -id "$(xdotool search --onlyvisible --name '^Quorvel$' | head -n1)" WM_CLASS | grep -q "\"$class\"\$" \
    || fail "the window's class is not the menu entry's StartupWMClass '$class'"
  # The menu's buttons in keyboard order end with "SAIR"; nothing else moves the focus here.
  xdotool windowfocus --sync "$(xdotool search --onlyvisible --name '^Quorvel$' | head -n1)"
  sleep 0.2
  xdotool key --clearmodifiers Tab Tab Tab Tab Tab space
  for _ in $(seq 600); do kill -0 "$app" 2>/dev/null || break; sleep 0.05; done
  kill -0 "$app" 2>/dev/null && fail "the program did not end from SAIR"
  local rc=0
  wait "$app" || rc=$?
  app=""
  [ "$rc" = 0 ] || fail "the program ended with $rc"
}
stats() { od -An -tx1 "$work/Stats.cef" | tr -d ' \n'; }

run_once
[ "$(stat -c %a "$work")" = 700 ] || fail "~/Quorvel is missing or not private"
[ -d "$work/Análises" ] || fail "Análises/ not created"
[ "$(stats)" = "00000000000000000000000000000000" ] || fail "Stats.cef after the first run: $(stats)"

# Counts of earlier work and a patient file; the next start must keep both.
printf '\x00\x00\x00\x00\x07\x00\x00\x00\x02\x00\x00\x00\x01\x00\x00\x00' > "$work/Stats.cef"
printf 'ANA\r\nvisita\r\n' > "$work/Análises/ANA.pln"
run_once
[ "$(stats)" = "00000000070000000200000001000000" ] || fail "counts lost: $(stats)"
[ "$(cat "$work/Análises/ANA.pln")" = "$(printf 'ANA\r\nvisita\r\n')" ] || fail "a patient file changed"
echo "installed program: ok"
