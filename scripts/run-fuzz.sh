#!/usr/bin/env bash
# Builds the libFuzzer targets with clang 14 (build-fuzz, ASan and UBSan on) and runs each for a
# bounded time, FUZZ_SECONDS (default 30), on its seeds and regression inputs. Any crash, leak,
# timeout or sanitizer report fails the run; the input that caused it is kept in
# build-fuzz/fuzz-artifacts/<target>/ and belongs in tests/fuzz/<target>/regressions/ once
# the fault is fixed. New inputs found on the way go to a temporary folder, so the repository's
# corpus only changes by hand.
set -euo pipefail
cd "$(dirname "$0")/.."

build=${FUZZ_BUILD_DIR:-build-fuzz}
seconds=${FUZZ_SECONDS:-30}

CC=clang-14 CXX=clang++-14 cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DVEYRUN_FUZZ=ON -DVEYRUN_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" -j"$(nproc)" --target fuzzers
# The targets as tests/fuzz/CMakeLists.txt lists them.
mapfile -t targets <"$build/tests/fuzz/targets.txt"

source scripts/sanitizer-env.sh
failed=()
for target in "${targets[@]}"; do
  corpus=$(mktemp -d)
  artifacts="$PWD/$build/fuzz-artifacts/$target/"
  log="$PWD/$build/fuzz-artifacts/$target.log"
  mkdir -p "$artifacts"
  inputs=("$corpus")  # absolute paths: the targets change folder as they start
  for folder in seeds regressions; do
    [ -d "tests/fuzz/$target/$folder" ] && inputs+=("$PWD/tests/fuzz/$target/$folder")
  done
  status=0
  # -timeout: one input taking 10 s is a hang; -rss_limit_mb: the whole run stays under 2 GiB.
  "$build/tests/fuzz/fuzz_$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
    -max_len=8192 -print_final_stats=1 -artifact_prefix="$artifacts" "${inputs[@]}" \
    >"$log" 2>&1 || status=$?
  executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
  echo "fuzz $target: ${executions:-?} executions in ${seconds} s, $(ls "$corpus" | wc -l) new corpus inputs, exit $status"
  rm -rf "$corpus"
  if [ "$status" -ne 0 ]; then
    failed+=("$target")
    tail -n 60 "$log"
    ls -l "$artifacts"
  fi
done

if [ ${#failed[@]} -ne 0 ]; then
  echo "fuzz: failed: ${failed[*]}"
  exit 1
fi
echo "fuzz: ${#targets[@]} targets ran clean"
