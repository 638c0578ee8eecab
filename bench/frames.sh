#!/usr/bin/env bash
# Frames per second of `graphel frames` on the animated examples at 1024 x 1024, and what a still
# drawing (the tiger) takes through the module and directly, with this graphel and, given -b, with a
# baseline build (say, one from before the script machinery) for comparison. Best wall time of RUNS.
#
#   bench/frames.sh [-n RUNS] [-g GRAPHEL] [-b BASELINE_GRAPHEL]
set -euo pipefail
cd "$(dirname "$0")/.."

runs=5
graphel=build/apps/graphel/graphel
baseline=""
while getopts "n:g:b:" option; do
  case "$option" in
    n) runs="$OPTARG" ;;
    g) graphel="$OPTARG" ;;
    b) baseline="$OPTARG" ;;
    *) echo "usage: bench/frames.sh [-n RUNS] [-g GRAPHEL] [-b BASELINE_GRAPHEL]" >&2; exit 2 ;;
  esac
done
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# Best wall time in seconds of RUNS runs of the command.
best() {
  local best_time="" start end elapsed
  for _ in $(seq "$runs"); do
    start=$(date +%s.%N)
    "$@" >/dev/null 2>&1
    end=$(date +%s.%N)
    elapsed=$(awk -v a="$start" -v b="$end" 'BEGIN { print b - a }')
    if [ -z "$best_time" ] || awk -v a="$elapsed" -v b="$best_time" 'BEGIN { exit !(a < b) }'; then
      best_time="$elapsed"
    fi
  done
  printf '%.3f' "$best_time"
}

frame_count=30
echo "| drawing, frames 1-$frame_count at 1024 x 1024 | best s | frames/s |"
echo "|---|---|---|"
for drawing in examples/animated-colour.svg examples/animated-geometry.svg examples/animated-text.svg \
  bench/drawings/tiger.svg; do
  seconds=$(best "$graphel" frames "$drawing" --frames 1-$frame_count -o "$work/f_%03d.png" --size 1024 -q)
  printf '| %s | %s | %s |\n' "$(basename "$drawing")" "$seconds" \
    "$(awk -v n="$frame_count" -v s="$seconds" 'BEGIN { printf "%.1f", n / s }')"
done

echo
echo "| still drawing: tiger at 1024 x 1024 | graphel s | baseline s |"
echo "|---|---|---|"
still() {
  local name="$1"
  shift
  local ours theirs="-"
  ours=$(best "$graphel" "$@")
  [ -n "$baseline" ] && theirs=$(best "$baseline" "$@")
  echo "| $name | $ours | $theirs |"
}
still "bitmap (through the module)" bitmap bench/drawings/tiger.svg -o "$work/t.png" --size 1024
still "render (directly)" render bench/drawings/tiger.svg -o "$work/t.png" --size 1024
