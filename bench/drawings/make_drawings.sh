#!/bin/sh
# Writes the generated benchmark drawings next to this script: dashes.svg (many dashed strokes with
# every cap and join) and shapes.svg (many small shapes, some translucent). A fixed Park-Miller
# generator (exact in awk's doubles) makes the files the same on every machine; they are committed,
# so this only needs running after a change here.
set -eu
cd "$(dirname "$0")"

functions='
function next_int(n) { seed = (seed * 16807) % 2147483647; return int(seed / 2147483647 * n) }
function colour() { return sprintf("#%02x%02x%02x", next_int(256), next_int(256), next_int(256)) }'

awk "$functions"'
BEGIN {
  seed = 12345
  split("butt round square", caps, " "); split("miter round bevel", joins, " ")
  print "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"1000\" height=\"1000\">"
  print "<rect width=\"1000\" height=\"1000\" fill=\"#fafafa\"/>"
  for (i = 0; i < 600; ++i) {
    printf "<path d=\"M%d %d", next_int(1000), next_int(1000)
    for (j = 0; j < 4; ++j) printf " Q%d %d %d %d", next_int(1000), next_int(1000), next_int(1000), next_int(1000)
    printf " L%d %d\" fill=\"none\" stroke=\"%s\" stroke-width=\"%d\"", next_int(1000), next_int(1000), colour(), 1 + next_int(8)
    printf " stroke-dasharray=\"%d %d %d %d\" stroke-dashoffset=\"%d\"", 2 + next_int(20), 1 + next_int(10), 1 + next_int(6), 1 + next_int(10), next_int(30)
    printf " stroke-linecap=\"%s\" stroke-linejoin=\"%s\"/>\n", caps[1 + next_int(3)], joins[1 + next_int(3)]
  }
  for (i = 0; i < 100; ++i) {
    printf "<circle cx=\"%d\" cy=\"%d\" r=\"%d\" fill=\"none\" stroke=\"%s\" stroke-width=\"2\" stroke-dasharray=\"%d %d\"/>\n", next_int(1000), next_int(1000), 10 + next_int(200), colour(), 1 + next_int(12), 1 + next_int(8)
  }
  print "</svg>"
}' > dashes.svg

awk "$functions"'
BEGIN {
  seed = 67890
  print "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"1000\" height=\"1000\">"
  for (i = 0; i < 6000; ++i) {
    kind = next_int(4); x = next_int(1000); y = next_int(1000); fill = colour()
    opacity = next_int(3) == 0 ? sprintf(" fill-opacity=\"0.%d\"", 3 + next_int(6)) : ""
    if (kind == 0) printf "<circle cx=\"%d\" cy=\"%d\" r=\"%d\" fill=\"%s\"%s/>\n", x, y, 2 + next_int(10), fill, opacity
    else if (kind == 1) printf "<rect x=\"%d\" y=\"%d\" width=\"%d\" height=\"%d\" rx=\"%d\" fill=\"%s\"%s/>\n", x, y, 3 + next_int(15), 3 + next_int(15), next_int(4), fill, opacity
    else if (kind == 2) printf "<ellipse cx=\"%d\" cy=\"%d\" rx=\"%d\" ry=\"%d\" fill=\"%s\" stroke=\"#000\" stroke-width=\"0.5\"%s/>\n", x, y, 2 + next_int(12), 2 + next_int(6), fill, opacity
    else printf "<polygon points=\"%d,%d %d,%d %d,%d\" fill=\"%s\"%s/>\n", x, y, x + next_int(20), y + next_int(20), x - next_int(20), y + next_int(20), fill, opacity
  }
  print "</svg>"
}' > shapes.svg

# slides.pdf: a two-page PDF with vector art (the tiger) and text (the text page), made with MuPDF's
# own converter (mupdf-tools), compressed.
if command -v mutool > /dev/null; then
  work=$(mktemp -d)
  mutool convert -o "$work/tiger.pdf" tiger.svg
  mutool convert -o "$work/text_page.pdf" text_page.svg
  mutool merge -o "$work/slides.pdf" "$work/tiger.pdf" "$work/text_page.pdf"
  mutool clean -gz "$work/slides.pdf" slides.pdf
  rm -rf "$work"
fi
