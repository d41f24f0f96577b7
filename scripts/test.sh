#!/usr/bin/env bash
# Builds everything and runs the whole test suite headless; ends with CTest's summary line.
# Widget tests use Qt's offscreen platform; the end-to-end checks start a private Xvfb server.
# First the fuzz targets are built (clang, build-fuzz/) and each runs 2,000 executions.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${QUORVEL_BUILD_DIR:-$root/build}"
bash "$root/scripts/build.sh"
bash "$root/scripts/fuzz.sh" 2000
cd "$build"
export QT_QPA_PLATFORM=offscreen
ctest --output-on-failure --timeout 300 -j2
