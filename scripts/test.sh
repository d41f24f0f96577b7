#!/usr/bin/env bash
# Builds everything and runs the whole test suite headless; ends with CTest's summary line.
# Widget tests use Qt's offscreen platform; the end-to-end checks start a private Xvfb server.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${QUORVEL_BUILD_DIR:-$root/build}"
bash "$root/scripts/build.sh"
cd "$build"
export QT_QPA_PLATFORM=offscreen
ctest --output-on-failure --timeout 300 -j2
