#!/usr/bin/env bash
# Builds everything and runs the whole test suite headless, on Linux and for Windows.
# Linux: builds, runs the fuzz targets (clang, build-fuzz/, 2,000 executions each), then CTest;
# widget tests use Qt's offscreen platform, the end-to-end checks start a private Xvfb server.
# Windows: cross-builds the program and every test program (scripts/windows/), runs the whole
# suite under Wine, then installs the installer silently under Wine and checks the installed
# program end to end (scripts/windows/e2e.sh). Ends with the counts of both.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${QUORVEL_BUILD_DIR:-$root/build}"
start=$(date +%s)
bash "$root/scripts/build.sh"
bash "$root/scripts/fuzz.sh" 2000
status=0
(cd "$build" && QT_QPA_PLATFORM=offscreen ctest --output-on-failure --timeout 300 -j2) | tee "$build/ctest-linux.log" || status=1
linux=$(( $(date +%s) - start ))
bash "$root/scripts/windows/test.sh" | tee "$build/ctest-windows.log" || status=1
bash "$root/scripts/windows/e2e.sh" || status=1
windows=$(( $(date +%s) - start - linux ))
echo "Linux part: ${linux} s; Windows part: ${windows} s"
# One closing line for both: CTest's tests on Linux, GoogleTest's under Wine.
lp=$(sed -n 's/^[0-9]*% tests passed, \([0-9]*\) tests failed out of \([0-9]*\)/\2 \1/p' "$build/ctest-linux.log" | tail -n1)
wp=$(sed -n 's/^Windows (Wine): \([0-9]*\) passed, \([0-9]*\) failed.*/\1 \2/p' "$build/ctest-windows.log" | tail -n1)
read -r ltotal lfailed <<<"${lp:-0 0}"
read -r wpassed wfailed <<<"${wp:-0 0}"
echo "tests: $((ltotal - lfailed + wpassed)) passed, $((lfailed + wfailed)) failed"
exit $status
