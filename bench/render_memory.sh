#!/bin/sh
# Peak memory and time of one 16384 x 16384 render: banded (--size, streamed into the PNG writer) next
# to the whole-buffer render that --width/--height still make (the way --size rendered before).
# Usage: bench/render_memory.sh [-g PATH_TO_GRAPHEL] [-s SIZE] [DRAWING]
set -eu
here=$(cd "$(dirname "$0")" && pwd)
graphel="$here/../build/apps/graphel/graphel"
size=16384
while getopts g:s: flag; do
  case $flag in
    g) graphel=$OPTARG ;;
    s) size=$OPTARG ;;
    *) exit 2 ;;
  esac
done
shift $((OPTIND - 1))
drawing=${1:-$here/drawings/tiger.svg}
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
measure() {
  /usr/bin/time -f '%M %e' -o "$out/time" "$graphel" render "$drawing" -o "$out/x.png" --quiet "$@"
  read -r kib seconds <"$out/time"
  printf '%-34s %8d MiB %8s s\n' "$*" $((kib / 1024)) "$seconds"
}
echo "$(basename "$drawing") at $size x $size: peak RSS, wall time"
measure --size "$size"
measure -w "$size" -h "$size"
