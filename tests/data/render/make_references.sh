#!/bin/sh
# Redraws every reference PNG here with rsvg-convert (Debian package librsvg2-bin). Run it only when a
# drawing is added or changed, look at the result, and commit the PNGs: the tests never run rsvg.
set -eu
cd "$(dirname "$0")"
command -v rsvg-convert > /dev/null || { echo "install librsvg2-bin first" >&2; exit 1; }
for drawing in *.svg; do
  name=${drawing%.svg}
  # Every drawing is 100 x 100 user units; render at other sizes so that scaling is always involved.
  case $name in
    shapes_*|path_*) size=160 ;;
    stroke_*) size=200 ;;
    viewport_*) size=256 ;;
    clip_*|mask_*) size=144 ;;
    *) size=128 ;;
  esac
  rsvg-convert --width "$size" --height "$size" --format png --output "$name.png" "$drawing"
done
