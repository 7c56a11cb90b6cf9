#!/usr/bin/env bash
# Builds the piece and the minimal program that shows the same picture in the
# same window, then measures both from outside, alternating runs on a virtual
# display of their own:
#   time to picture    from just before the process is spawned until its
#                      picture is on the screen
#   peak memory        the high-water mark of the resident set (VmHWM) after
#                      22 s, just before the program is asked to quit
#   CPU while ticking  time on the processor from 2 s to 22 s after the start,
#                      per second of wall time
# Prints the medians, the ratios piece/minimal and the targets; exits with 1 if
# a ratio is over its target.
#
#   bench/run.sh            7 runs of each
#   BENCH_RUNS=3 bench/run.sh
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
build="$root/build-benchmark"
runs="${BENCH_RUNS:-7}"

# The window opens at (241, 145) with no window manager to move it; the picture
# sits at (8, 8) inside it.
picture='[]/sketch5422493.jpg'
picture_left=249
picture_top=153

# Targets for the ratio piece/minimal.
target_picture=1.3
target_memory=1.6
target_cpu=1.5

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DSKETCH_TESTS=OFF -DSKETCH_BENCH=ON >/dev/null
cmake --build "$build" --target sketch bench_minimal bench_probe

cd "$root"  # both programs read "[]" in the current directory
[[ -f "$picture" ]] || { echo "run.sh: $root/$picture is missing" >&2; exit 2; }

results="$(mktemp -d)"
xvfb_pid=""
cleanup() {
  [[ -n "$xvfb_pid" ]] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
  rm -rf "$results"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# A display number of our own, picked by the server.
Xvfb -displayfd 3 -screen 0 1024x768x24 -dpi 96 -nolisten tcp 3>"$results/display" 2>"$results/xvfb.log" &
xvfb_pid=$!
for _ in $(seq 100); do
  [[ -s "$results/display" ]] && break
  sleep 0.1
done
[[ -s "$results/display" ]] || { cat "$results/xvfb.log" >&2; echo "run.sh: Xvfb did not start" >&2; exit 2; }
export DISPLAY=":$(head -n1 "$results/display")"
export SDL_AUDIODRIVER=dummy  # no sound card here; the same for both
unset SDL_VIDEODRIVER

declare -A program=([piece]="$build/sketch" [minimal]="$build/bench/bench_minimal")

# One run of each first, not counted: it brings the programs, libraries, fonts
# and font caches into memory.
for name in piece minimal; do
  "$build/bench/bench_probe" --cpu-from 0.5 --cpu-to 1 "$picture" "$picture_left" "$picture_top" -- \
    "${program[$name]}" >/dev/null || true
done

for run in $(seq "$runs"); do
  for name in piece minimal; do
    line="$("$build/bench/bench_probe" "$picture" "$picture_left" "$picture_top" -- "${program[$name]}")" || {
      echo "run.sh: $name, run $run failed: $line" >&2
      exit 2
    }
    echo "run $run $name: $line"
    echo "$line" >>"$results/$name"
    sleep 1  # let the server settle before the next start
  done
done

# The median of one key=value field over the runs of one program.
median() {
  tr ' ' '\n' <"$results/$1" | sed -n "s/^$2=//p" | sort -g |
    awk '{ v[NR] = $1 } END { print (NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2) }'
}

over=0
report() {  # label key target
  local piece minimal
  piece="$(median piece "$2")"
  minimal="$(median minimal "$2")"
  awk -v label="$1" -v p="$piece" -v m="$minimal" -v t="$3" 'BEGIN {
    if (m > 0) { ratio = sprintf("%.2f", p / m); verdict = (p / m <= t) ? "ok" : "OVER" }
    else { ratio = "-"; verdict = (p <= 0) ? "ok" : "OVER" }
    printf "%-24s %12s %12s %8s %8s  %s\n", label, p, m, ratio, "<= " t, verdict
    exit (verdict == "ok" ? 0 : 1)
  }' || over=1
}

echo
echo "medians of $runs runs each, on $DISPLAY"
printf '%-24s %12s %12s %8s %8s\n' "" piece minimal ratio target
report "time to picture (ms)" picture_ms "$target_picture"
report "peak memory (KiB)" peak_kb "$target_memory"
report "CPU while ticking (%)" cpu_percent "$target_cpu"
exit "$over"
