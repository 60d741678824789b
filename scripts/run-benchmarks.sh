#!/usr/bin/env bash
# Builds the benchmark suite, runs it against an X server of its own (in-process costs under
# Google Benchmark, then the whole programs beside their peers), and regenerates the table in
# docs/PERFORMANCE.md. Takes a few minutes; the test suite never runs any of it.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh  # includes libbenchmark-dev and libtinyobjloader-dev
load_before=$(cut -d' ' -f1-3 /proc/loadavg)
build=${BUILD_DIR:-build-bench}
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVEYRUN_WARNINGS_AS_ERRORS=ON \
  -DVEYRUN_BUILD_TESTS=OFF -DVEYRUN_BUILD_BENCHMARKS=ON
cmake --build "$build" -j"$(nproc)" --target \
  veyrun_demo veyrun_resindex perf_inprocess perf_programs perf_report peer_lines peer_first_frame SwapCounter

# The OpenGL figures draw on this server.
source scripts/xvfb-env.sh

bench="$build/benchmarks"
results="$bench/results"
mkdir -p "$results"
# Repetitions of every benchmark in random order, so that a busy spell of the machine falls on
# both sides of a comparison; the report takes the medians.
"$bench/perf_inprocess" --benchmark_repetitions=9 --benchmark_enable_random_interleaving=true \
  --benchmark_min_time=0.2 --benchmark_report_aggregates_only=true \
  --benchmark_out="$results/inprocess.csv" --benchmark_out_format=csv
"$bench/perf_programs" --demo "$build/engine/Demo" --resindex "$build/tools/resindex/resindex" \
  --peer-lines "$bench/peer_lines" --peer-first-frame "$bench/peer_first_frame" \
  --swap-counter "$bench/SwapCounter.so" --resources resources --out "$results/programs.csv"

note="Measured $(date -u '+%Y-%m-%d %H:%M UTC') on $(nproc) cores ($(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | xargs)), load average before the run: $load_before."
"$bench/perf_report" "$results/inprocess.csv" "$results/programs.csv" docs/PERFORMANCE.md "$note"
echo "run-benchmarks: table written to docs/PERFORMANCE.md"
