#!/usr/bin/env bash
# Installs what is missing, checks the code's format, builds everything with warnings as
# errors, and runs the whole suite (unit, OpenGL and end-to-end tests) against an X server of
# its own; then the fuzzers and the sanitized suite (scripts/run-fuzz.sh,
# scripts/run-sanitized.sh). Given --quick it leaves out the tests labelled slow (the soak and
# the hundred-thousand-point load), the fuzzers and the sanitized suite.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
# The code keeps the form .clang-format gives it.
bash scripts/check-format.sh
build=${BUILD_DIR:-build}
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVEYRUN_WARNINGS_AS_ERRORS=ON
cmake --build "$build" -j"$(nproc)"

# The OpenGL tests draw into windows on this server; the end-to-end tests start one each.
source scripts/xvfb-env.sh

quick=false
exclude=()
if [ "${1:-}" = "--quick" ]; then quick=true exclude=(--label-exclude slow); fi
ctest --test-dir "$build" --output-on-failure -j"$(nproc)" --timeout 300 "${exclude[@]}"

# Then the fuzzers for a bounded time each, and the whole suite again under ASan, LSan and
# UBSan; --quick skips both.
if ! $quick; then
  bash scripts/run-fuzz.sh
  bash scripts/run-sanitized.sh
fi
