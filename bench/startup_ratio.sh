#!/usr/bin/env bash
# Paired start-up measurement: the real program against a minimal one-window Qt program, run
# alternately under a private Xvfb server, each timed from just before its process starts to its
# first window being mapped and to the first drawing into it (bench/first_frame.cpp watches the
# X server's events). Prints both medians and their ratios. Timings are figures, never a test.
#   startup_ratio.sh [runs]   (default 11 runs of each, after one unmeasured warm-up of each)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${QUORVEL_BUILD_DIR:-$root/build}"
runs="${1:-11}"
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
watch "$build/src/quorvel" >/dev/null
watch "$build/bench/minimal_window" >/dev/null
: >"$tmp/quorvel"
: >"$tmp/minimal"
for _ in $(seq "$runs"); do
  watch "$build/src/quorvel" >>"$tmp/quorvel"
  watch "$build/bench/minimal_window" >>"$tmp/minimal"
done

median() { cut -d' ' -f"$2" "$1" | sort -n | awk '{v[NR] = $1} END {print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2}'; }
qm=$(median "$tmp/quorvel" 1); qp=$(median "$tmp/quorvel" 2)
mm=$(median "$tmp/minimal" 1); mp=$(median "$tmp/minimal" 2)
echo "medians of $runs alternating runs, ms from process start:"
printf '  %-16s mapped %7.1f   painted %7.1f\n' quorvel "$qm" "$qp" minimal_window "$mm" "$mp"
awk -v a="$qm" -v b="$mm" -v c="$qp" -v d="$mp" 'BEGIN {printf "  ratio            mapped %7.2f   painted %7.2f\n", a / b, c / d}'
