#!/usr/bin/env bash
# Configures and builds Quorvel into build/ (or $QUORVEL_BUILD_DIR).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${QUORVEL_BUILD_DIR:-$root/build}"
bash "$root/scripts/deps.sh"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" "$@"
