#!/usr/bin/env bash
# Times `graphel render` against rsvg-convert (librsvg) and resvg (npm @resvg/resvg-js) on the same
# drawings: whole processes, PNG writing included, best wall time of N runs, and the ratios.
#
#   bench/compare.sh [-n RUNS] [-g PATH_TO_GRAPHEL]
#
# Needs rsvg-convert (apt-get install librsvg2-bin) and node with npm; resvg is installed into
# bench/node_modules on first use. See bench/README.md.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
runs=5
graphel="$here/../build/apps/graphel/graphel"
while getopts "n:g:" option; do
  case $option in
    n) runs=$OPTARG ;;
    g) graphel=$OPTARG ;;
    *) echo "usage: $0 [-n RUNS] [-g GRAPHEL]" >&2; exit 2 ;;
  esac
done

[[ -x $graphel ]] || { echo "no graphel at $graphel: build it (cmake --build build --target graphel) or pass -g" >&2; exit 1; }
command -v rsvg-convert > /dev/null || { echo "rsvg-convert missing: apt-get install librsvg2-bin" >&2; exit 1; }
command -v node > /dev/null || { echo "node missing: apt-get install nodejs npm" >&2; exit 1; }
if [[ ! -d $here/node_modules/@resvg/resvg-js ]]; then
  npm install --prefix "$here" --no-save --no-audit --no-fund @resvg/resvg-js@2.6.2 > /dev/null
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# A private copy, so that a rebuild while the comparison runs changes nothing.
cp "$graphel" "$work/graphel-under-test"
graphel="$work/graphel-under-test"

# Best wall time in milliseconds of $runs runs of the command.
best_ms() {
  local best="" start end elapsed
  for ((i = 0; i < runs; ++i)); do
    start=$(date +%s%N)
    "$@" > /dev/null || { echo "failed: $*" >&2; return 1; }
    end=$(date +%s%N)
    elapsed=$(((end - start) / 1000))
    if [[ -z $best || $elapsed -lt $best ]]; then best=$elapsed; fi
  done
  printf '%d.%03d' $((best / 1000)) $((best % 1000))
}

ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }

# name | drawing | size | tile row column border (empty for the whole image)
cases=(
  "tiger 4096|drawings/tiger.svg|4096|"
  "tiger tile, 2^20 image|drawings/tiger.svg|1048576|1024 342 468 5"
  "dashed strokes 2048|drawings/dashes.svg|2048|"
  "6000 small shapes 2048|drawings/shapes.svg|2048|"
  "dashed strokes tile, 2^16 image|drawings/dashes.svg|65536|1024 20 30 5"
  "text page 2048|drawings/text_page.svg|2048|"
  "text page tile, 2^16 image|drawings/text_page.svg|65536|1024 20 10 5"
)

echo "machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ *//')"
echo "peers: $(rsvg-convert --version), resvg-js $(node -p "require('$here/node_modules/@resvg/resvg-js/package.json').version")"
echo "best of $runs runs, milliseconds, whole process including PNG writing"
printf '%-34s %10s %10s %10s %12s %12s\n' case graphel resvg rsvg resvg/graphel rsvg/graphel
for entry in "${cases[@]}"; do
  IFS='|' read -r name drawing size window <<< "$entry"
  input="$here/$drawing"
  if [[ -z $window ]]; then
    graphel_ms=$(best_ms "$graphel" render "$input" -o "$work/graphel.png" --size "$size")
    resvg_ms=$(best_ms node "$here/resvg_render.mjs" "$input" "$work/resvg.png" "$size")
    rsvg_ms=$(best_ms rsvg-convert --width "$size" --height "$size" --output "$work/rsvg.png" "$input")
  else
    read -r tile row column border <<< "$window"
    side=$((tile + 2 * border))
    graphel_ms=$(best_ms "$graphel" render "$input" -o "$work/graphel.png" --size "$size" \
      --tile "$tile" --row "$row" --column "$column" --border "$border")
    resvg_ms=$(best_ms node "$here/resvg_render.mjs" "$input" "$work/resvg.png" "$size" "$tile" "$row" "$column" "$border")
    # rsvg-convert has no window option: it renders a wrapper whose viewBox is the window.
    node "$here/resvg_render.mjs" --wrapper "$input" "$size" "$tile" "$row" "$column" "$border" > "$work/window.svg"
    rsvg_ms=$(best_ms rsvg-convert --width "$side" --height "$side" --output "$work/rsvg.png" "$work/window.svg")
  fi
  printf '%-34s %10s %10s %10s %12s %12s\n' "$name" "$graphel_ms" "$resvg_ms" "$rsvg_ms" \
    "$(ratio "$resvg_ms" "$graphel_ms")" "$(ratio "$rsvg_ms" "$graphel_ms")"
done
echo "ratios above 1 mean graphel is faster"

# PDF pages against MuPDF's own renderer, which graphel draws PDF pages through.
if command -v mutool > /dev/null && "$graphel" info "$here/drawings/slides.pdf" > /dev/null 2>&1; then
  echo
  echo "PDF pages, drawings/slides.pdf: graphel render against mutool draw ($(mutool -v 2>&1 | head -1))"
  printf '%-34s %10s %10s %12s\n' case graphel mutool mutool/graphel
  # name | page | size (mutool fits the page into size x size; page 1 is square, so both draw the same)
  pdf_cases=("tiger page 2048|1|2048" "text page 2048|2|2048")
  for entry in "${pdf_cases[@]}"; do
    IFS='|' read -r name page size <<< "$entry"
    graphel_ms=$(best_ms "$graphel" render "$here/drawings/slides.pdf" -o "$work/graphel.png" --size "$size" \
      --param pdf_page="$page")
    mutool_ms=$(best_ms mutool draw -q -o "$work/mutool.png" -w "$size" -h "$size" "$here/drawings/slides.pdf" "$page")
    printf '%-34s %10s %10s %12s\n' "$name" "$graphel_ms" "$mutool_ms" "$(ratio "$mutool_ms" "$graphel_ms")"
  done
fi
