#!/usr/bin/env bash
# Builds the texture benchmarks (bench/setup installs OpenImageIO), runs Graphel's sampler, the bare
# bilinear floor and OpenImageIO's texture system on the same drawing, and prints filtered samples
# per second per thread (median of five runs) and the time to the first shaded demo image.
# The raw results, with the machine's description, are written as JSON to build-bench/.
set -euo pipefail
cd "$(dirname "$0")/.."

bench/setup
cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DGRAPHEL_BENCH=ON -DGRAPHEL_TESTS=OFF >/dev/null
targets=(bench_texture_sampling graphel)
[ -n "$(command -v maketx)" ] && targets+=(bench_oiio_texture)
cmake --build build-bench -j "$(nproc)" --target "${targets[@]}"

run() {
  "$1" --benchmark_repetitions=5 --benchmark_report_aggregates_only=true --benchmark_min_time=0.5 \
    --benchmark_format=json --benchmark_out="build-bench/results_$(basename "$1").json" --benchmark_out_format=json >/dev/null
}
run build-bench/bench/bench_texture_sampling
[ -x build-bench/bench/bench_oiio_texture ] && run build-bench/bench/bench_oiio_texture

python3 - build-bench/results_*.json <<'PY'
import json, sys
rows = {}
for path in sys.argv[1:]:
    with open(path) as f:
        for b in json.load(f)["benchmarks"]:
            if b.get("aggregate_name") == "median":
                rows[b["run_name"]] = b["samples_per_second_per_thread"]
print(f"{'benchmark':52} {'samples/s per thread':>22}")
for name, rate in sorted(rows.items()):
    print(f"{name:52} {rate / 1e6:19.2f} M")
PY

demo=(build-bench/apps/graphel/graphel shade -o build-bench/demo.png --object plane --grazing --tiling 4,4
      --param alphasource=0 --width 960 --height 540)
best=""
for _ in 1 2 3; do
  start=$(date +%s%N)
  "${demo[@]}"
  elapsed=$(( ($(date +%s%N) - start) / 1000000 ))
  [ -z "$best" ] || [ "$elapsed" -lt "$best" ] && best=$elapsed
done
echo "first shaded image of the demo scene (960 x 540, module loaded and every tile rendered): ${best} ms"
