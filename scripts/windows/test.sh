#!/usr/bin/env bash
# Cross-builds the Windows program and every test program (build.sh) and runs the whole
# GoogleTest suite under Wine (a private Wine prefix in the build folder), then the installer's
# end-to-end check (e2e.sh). Tests of what only Linux has skip themselves there, saying why.
set -euo pipefail
source "$(dirname "$0")/env.sh"
bash "$root/scripts/windows/build.sh"
topath() { printf 'Z:%s' "$1" | sed 's,/,\\,g'; }
dcmtk="$(sed -n 's/^DCMTK_DIR:[A-Z]*=//p' "$winbuild/CMakeCache.txt")"
if [ -n "$dcmtk" ] && [ -d "$dcmtk" ]; then
  dcmtkbin="$(cd "$dcmtk" && while [ ! -d bin ] && [ "$PWD" != / ]; do cd ..; done; pwd)/bin"
  export WINEPATH="$(topath "$dcmtkbin")"
fi
# A 1024 x 768 X screen: Wine draws Windows' windows there (the screen-fit test uses Windows' own
# platform; the others need no screen).
start_xvfb 1024x768 || { echo "no Xvfb server could be started"; exit 1; }
trap 'kill "$xvfb" 2>/dev/null || true; wineserver -k 2>/dev/null || true' EXIT
# The prefix is made once, and Wine's own services started, before tests run side by side: a
# service started by a test would keep that test's output open, and CTest would wait for it.
[ -d "$WINEPREFIX/drive_c" ] || wineboot -i >/dev/null 2>&1 || true
wineserver -p 120 >/dev/null 2>&1 || true
wine cmd.exe /c exit >/dev/null 2>&1 || true
cd "$winbuild"
# Each program writes GoogleTest's report, from which the counts below are summed.
results="$winbuild/gtest-results"
rm -rf "$results"; mkdir -p "$results"
export GTEST_OUTPUT="xml:$(topath "$results")\\"
status=0
ctest --output-on-failure --timeout 1500 -j2 || status=$?
count() { cat "$results"/*.xml 2>/dev/null | sed -n "s/^<testsuites tests=\"[0-9]*\" failures=\"\([0-9]*\)\" disabled=\"[0-9]*\" errors=\"[0-9]*\".*/\1/p" | awk '{s+=$1} END {print s+0}'; }
total=$(cat "$results"/*.xml 2>/dev/null | sed -n 's/^<testsuites tests="\([0-9]*\)".*/\1/p' | awk '{s+=$1} END {print s+0}')
failed=$(count)
skipped=$(grep -c '<skipped' "$results"/*.xml 2>/dev/null | awk -F: '{s+=$2} END {print s+0}')
echo "Windows (Wine): $((total - failed - skipped)) passed, $failed failed, $skipped skipped"
exit $status
