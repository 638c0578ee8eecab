#!/usr/bin/env bash
# Warm-cache filtered sampling, side by side in one run: Graphel's colour evaluation through the
# module, OpenImageIO's texture system on the same drawing (skipped when it is not installed;
# bench/setup installs it) and plain reads of mip-mapped images in memory (the floor), with 1 and 2
# threads, for random points at footprints 1/1500 and 1/4000, a coherent grid, and a footprint sweep
# from 1/1024 to 1/2^20 over a close-up window. Prints nanoseconds per sample per thread (median of
# three runs) and the scaling from 1 to 2 threads; the raw results, with the machine's description,
# are written as JSON to build-bench/.
set -euo pipefail
cd "$(dirname "$0")/.."

# GRAPHEL_BENCH_BUILD=build reuses the default preset's tree (the benchmarks are added to it).
build=${GRAPHEL_BENCH_BUILD:-build-bench}
if [ -f "$build/CMakeCache.txt" ]; then
  cmake "$build" -DGRAPHEL_BENCH=ON >/dev/null
else
  cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DGRAPHEL_BENCH=ON -DGRAPHEL_TESTS=OFF >/dev/null
fi
targets=(bench_texture_sampling graphel)
oiio=""
if [ -n "$(command -v maketx)" ] && pkg-config --exists OpenImageIO; then
  targets+=(bench_oiio_texture)
  oiio=1
else
  echo "OpenImageIO not installed (bench/setup installs it): comparing with the floor only"
fi
cmake --build "$build" -j "$(nproc)" --target "${targets[@]}"

rm -f "$build"/results_*.json
run() {
  "$1" --benchmark_repetitions=3 --benchmark_report_aggregates_only=true --benchmark_min_time=0.3 \
    --benchmark_format=json --benchmark_out="$build/results_$(basename "$1").json" --benchmark_out_format=json >/dev/null
}
run "$build/bench/bench_texture_sampling"
[ -n "$oiio" ] && run "$build/bench/bench_oiio_texture"

python3 - "$build"/results_*.json <<'PY'
import json, re, sys
ns = {}
for path in sys.argv[1:]:
    with open(path) as f:
        for b in json.load(f)["benchmarks"]:
            if b.get("aggregate_name") != "median":
                continue
            m = re.match(r"BM_(Graphel|Oiio|Floor)(Random|Scanline|Sweep)(?:/(\d+))?/.*threads:(\d+)", b["run_name"])
            if m:
                who, case, arg, threads = m.groups()
                ns[(case, arg, who, int(threads))] = 1e9 / b["samples_per_second_per_thread"]
cases = sorted({(c, a) for c, a, _, _ in ns}, key=lambda k: ("Random", "Scanline", "Sweep").index(k[0]) * 1e9 + int(k[1] or 0))
def cell(key):
    return f"{ns[key]:7.1f}" if key in ns else "      -"
print("ns per sample per thread; x2 = throughput of 2 threads over 1")
print(f"{'case':26} {'Graphel 1':>9} {'Graphel 2':>9} {'x2':>5} {'OIIO 1':>8} {'OIIO 2':>8} {'floor':>7} {'G/floor':>8} {'OIIO/G':>7}")
for case, arg in cases:
    name = {"Random": "random", "Scanline": "coherent grid", "Sweep": "close-up"}[case] + (f" 1/{arg}" if arg else "")
    g1, g2 = ns.get((case, arg, "Graphel", 1)), ns.get((case, arg, "Graphel", 2))
    o1, f1 = ns.get((case, arg, "Oiio", 1)), ns.get((case, arg, "Floor", 1))
    scale = f"{2 * g1 / g2:5.2f}" if g1 and g2 else "    -"
    over = f"{g1 / f1:8.2f}" if g1 and f1 else "       -"
    peer = f"{o1 / g1:7.2f}" if g1 and o1 else "      -"
    print(f"{name:26} {cell((case, arg, 'Graphel', 1)):>9} {cell((case, arg, 'Graphel', 2)):>9} {scale} "
          f"{cell((case, arg, 'Oiio', 1)):>8} {cell((case, arg, 'Oiio', 2)):>8} {cell((case, arg, 'Floor', 1)):>7} {over} {peer}")
PY
