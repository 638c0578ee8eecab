#!/usr/bin/env bash
# Reopening a scene of 50 textures, each with its own copy of the tiger: best wall time of RUNS of
# `graphel scene assets` (open the scene, load every file once in the post-load reload, list).
#
#   bench/scene.sh [-n RUNS] [-g GRAPHEL]
set -euo pipefail
cd "$(dirname "$0")/.."

runs=5
graphel=build/apps/graphel/graphel
while getopts "n:g:" option; do
  case "$option" in
    n) runs="$OPTARG" ;;
    g) graphel="$OPTARG" ;;
    *) echo "usage: bench/scene.sh [-n RUNS] [-g GRAPHEL]" >&2; exit 2 ;;
  esac
done
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
files=()
for i in $(seq -w 1 50); do
  cp bench/drawings/tiger.svg "$work/tiger_$i.svg"
  files+=("$work/tiger_$i.svg")
done
"$graphel" scene new "$work/scene.json" "${files[@]}"

best=""
for _ in $(seq "$runs"); do
  start=$(date +%s.%N)
  "$graphel" scene assets "$work/scene.json" >/dev/null
  end=$(date +%s.%N)
  elapsed=$(awk -v a="$start" -v b="$end" 'BEGIN { print b - a }')
  if [ -z "$best" ] || awk -v a="$elapsed" -v b="$best" 'BEGIN { exit !(a < b) }'; then best="$elapsed"; fi
done
single=$(awk -v s="$best" 'BEGIN { printf "%.1f", s * 1000 / 50 }')
printf 'reopen a scene of 50 textures (50 tiger files): %.3f s, %s ms a texture\n' "$best" "$single"
