#!/usr/bin/env bash
# Builds Quorvel, prepares its working folder and starts it there.
# The working folder is $QUORVEL_HOME, or ~/Quorvel when unset.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${QUORVEL_BUILD_DIR:-$root/build}"
work="${QUORVEL_HOME:-$HOME/Quorvel}"
bash "$root/scripts/build.sh" --target quorvel quorvel_data
bash "$root/scripts/install-workdir.sh" "$build" "$work"
cd "$work"
exec "$build/src/quorvel"
