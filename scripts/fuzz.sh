#!/usr/bin/env bash
# Builds the fuzz targets (clang, libFuzzer, ASan + UBSan) in their own build tree and runs each
# from its seeds for a fixed number of executions; prints the executions per second of each.
#   fuzz.sh [runs per target]   (default 2000: a few seconds in all)
# The long run of the README: fuzz.sh 10000000
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${QUORVEL_FUZZ_BUILD_DIR:-${QUORVEL_BUILD_DIR:-$root/build}-fuzz}"
runs="${1:-2000}"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
  -DQUORVEL_FUZZ=ON -DQUORVEL_TESTS=OFF -DQUORVEL_BENCH=OFF >/dev/null
cmake --build "$build" --target quorvel_fuzzers
# fontconfig keeps a cache for the process's life; it is not ours to free.
export LSAN_OPTIONS="suppressions=$root/fuzz/lsan.supp"
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1" UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
for target in "$build"/fuzz/fuzz_*; do
  [ -f "$target" ] && [ -x "$target" ] || continue
  name="$(basename "$target")"
  corpus="$(mktemp -d)"
  # The seeds stay as they are: new inputs go to a scratch copy.
  cp "$root/fuzz/seeds/$name"/* "$corpus"/ 2>/dev/null || true
  log="$(mktemp)"
  start=$(date +%s%N)
  # What libFuzzer finds (crashes, broken round trips, slow inputs) goes to build-fuzz/artifacts/.
  mkdir -p "$build/artifacts"
  if ! "$target" -runs="$runs" -seed=1 -print_final_stats=1 -max_len=4096 -artifact_prefix="$build/artifacts/$name-" \
       "$corpus" >"$log" 2>&1; then
    cat "$log"; rm -rf "$corpus" "$log"
    echo "FAIL: $name (the input is in $build/artifacts/)"; exit 1
  fi
  ms=$(( ($(date +%s%N) - start) / 1000000 + 1 ))
  executed="$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")"
  echo "$name: $executed executions in $ms ms, $(( executed * 1000 / ms )) per second (start-up included)"
  rm -rf "$corpus" "$log"
done
