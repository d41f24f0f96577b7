# Sourced by the Windows build scripts: where the cross-built Qt, the build and Wine's private
# prefix live. The Qt for Windows comes packed beside the project (../shared/toolchains) and is
# unpacked into the build folder once.
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
winbuild="${QUORVEL_WINDOWS_BUILD_DIR:-$root/build-windows}"
toolchains="${QUORVEL_TOOLCHAINS:-$root/../shared/toolchains}"
qtprefix="$winbuild/toolchain/qt6-6.4.2-mingw64"
export WINEPREFIX="${QUORVEL_WINEPREFIX:-$winbuild/wineprefix}"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="

# start_xvfb <width>x<height>: a private X server on a display nobody else uses (other servers
# may run on this machine); sets DISPLAY and xvfb (its process).
start_xvfb() {
  xvfb=""
  local n
  for _ in $(seq 10); do
    n=$((200 + RANDOM % 700))
    { [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; } && continue
    Xvfb ":$n" -screen 0 "$1x24" -nolisten tcp >/dev/null 2>&1 &
    xvfb=$!
    for _ in $(seq 100); do xdpyinfo -display ":$n" >/dev/null 2>&1 && break; sleep 0.1; done
    xdpyinfo -display ":$n" >/dev/null 2>&1 && { export DISPLAY=":$n"; return 0; }
    kill "$xvfb" 2>/dev/null || true
    xvfb=""
  done
  return 1
}
