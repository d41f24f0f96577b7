#!/usr/bin/env bash
# Paired start-up measurement: the real program against a minimal one-window Qt program, run
# alternately under a private Xvfb server, each timed from just before its process starts to its
# first window being mapped and to the first drawing into it (bench/first_frame.cpp watches the
# X server's events), and by the processor time each had used by then, which other work on a busy
# machine skews less than the elapsed time. Prints the medians and their ratios. Figures only,
# never a test.
#   startup_ratio.sh [runs] [program]   (default 11 runs of each, after one unmeasured warm-up of
#   each; program: another build of quorvel to measure, e.g. an older one, instead of this one)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${QUORVEL_BUILD_DIR:-$root/build}"
runs="${1:-11}"
program="${2:-$build/src/quorvel}"
bash "$root/scripts/build.sh" --target quorvel quorvel_data minimal_window first_frame >/dev/null

tmp="$(mktemp -d)"
work="$tmp/work"
bash "$root/scripts/install-workdir.sh" "$build" "$work"
mkdir -m 700 "$tmp/runtime"
export XDG_RUNTIME_DIR="$tmp/runtime"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$tmp/display" >/dev/null 2>&1 &
xvfb=$!
cleanup() { kill "$xvfb" 2>/dev/null || true; wait "$xvfb" 2>/dev/null || true; rm -rf "$tmp"; }
trap cleanup EXIT
for _ in $(seq 200); do [ -s "$tmp/display" ] && break; sleep 0.05; done
[ -s "$tmp/display" ] || { echo "Xvfb did not start" >&2; exit 1; }
export DISPLAY=":$(head -n1 "$tmp/display")"

watch() {
  (cd "$work" && "$build/bench/first_frame" "$@" 2>"$tmp/err") || { echo "${1##*/} failed: $(cat "$tmp/err")" >&2; exit 1; }
}
watch "$program" >/dev/null
watch "$build/bench/minimal_window" >/dev/null
: >"$tmp/quorvel"
: >"$tmp/minimal_window"
for _ in $(seq "$runs"); do
  watch "$program" >>"$tmp/quorvel"
  watch "$build/bench/minimal_window" >>"$tmp/minimal_window"
done

median() { cut -d' ' -f"$2" "$1" | sort -n | awk '{v[NR] = $1} END {print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2}'; }
echo "medians of $runs alternating runs, ms from the process start to its first window"
printf '  %-15s %9s %9s %15s %15s\n' "" mapped painted "cpu to mapped" "cpu to painted"
for p in quorvel minimal_window; do
  printf '  %-15s %9.1f %9.1f %15.1f %15.1f\n' "$p" "$(median "$tmp/$p" 1)" "$(median "$tmp/$p" 2)" \
    "$(median "$tmp/$p" 3)" "$(median "$tmp/$p" 4)"
done
ratio() { awk -v a="$(median "$tmp/quorvel" "$1")" -v b="$(median "$tmp/minimal_window" "$1")" 'BEGIN {printf "%.2f", a / b}'; }
printf '  %-15s %9s %9s %15s %15s\n' "ratio" "$(ratio 1)" "$(ratio 2)" "$(ratio 3)" "$(ratio 4)"
