#!/usr/bin/env bash
# Builds the project and its whole suite with AddressSanitizer, LeakSanitizer and
# UndefinedBehaviorSanitizer (build-asan), and runs every test there: unit, OpenGL and
# end-to-end, where each Demo the harness starts inherits the options below and a report in
# its standard error fails the test. Suppressions (tests/sanitizers/) cover only the system's
# own libraries.
set -euo pipefail
cd "$(dirname "$0")/.."

build=${ASAN_BUILD_DIR:-build-asan}
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVEYRUN_SANITIZE=ON -DVEYRUN_WARNINGS_AS_ERRORS=ON
cmake --build "$build" -j"$(nproc)"

source scripts/sanitizer-env.sh
source scripts/xvfb-env.sh
# Mesa unloads its driver before the leak check at exit, which then cannot name the driver's
# frames; preloaded, it stays mapped and its own leaks match tests/sanitizers/lsan.supp.
driver="/usr/lib/$(gcc -print-multiarch)/dri/swrast_dri.so"
if [ -f "$driver" ]; then export LD_PRELOAD="$driver"; fi
# Instrumented frames are slower: the harness waits three times as long for each.
export VEYRUN_E2E_TIME_SCALE=3
# An end-to-end case whose program ends under the sanitizers' load is given one more try; a
# fault that repeats still fails the run.
ctest --test-dir "$build" --output-on-failure -j"$(nproc)" --timeout 300 --repeat until-pass:2
