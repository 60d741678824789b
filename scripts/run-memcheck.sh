#!/usr/bin/env bash
# Runs Demo under valgrind's memcheck through one whole end-to-end session (edit, save, load,
# quit: Session.WholeSessionFromTheFirstPointToTheQuit) and fails on any invalid read or write,
# use of uninitialised memory, or memory of the project's own definitely or indirectly lost.
# Mesa's software renderer is slow under memcheck, so the harness's time limits are stretched
# and this is not part of run-tests.sh; docs/RELIABILITY.md records its last result.
set -euo pipefail
cd "$(dirname "$0")/.."

build=${BUILD_DIR:-build-rel}
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVEYRUN_WARNINGS_AS_ERRORS=ON >/dev/null
cmake --build "$build" -j"$(nproc)" --target veyrun_demo e2e_reliability_tests

log="$PWD/$build/memcheck.log"
rm -f "$log"
# One rendering thread, so the session is not slower still; the whole error list in the log.
export LP_NUM_THREADS=0
export VEYRUN_E2E_TIME_SCALE=${VEYRUN_E2E_TIME_SCALE:-40}
export VEYRUN_DEMO_WRAPPER="valgrind --tool=memcheck --error-exitcode=99 --leak-check=full \
--show-leak-kinds=definite,indirect --errors-for-leak-kinds=definite,indirect \
--track-origins=yes --num-callers=30 --suppressions=$PWD/tests/sanitizers/valgrind.supp \
--gen-suppressions=all --log-file=$log"

status=0
"$build/tests/e2e/e2e_reliability_tests" --gtest_filter='Session.WholeSession*' || status=$?
grep -E "ERROR SUMMARY|definitely lost|indirectly lost|possibly lost|still reachable|suppressed:" "$log" || true
if [ "$status" -ne 0 ] || ! grep -q "ERROR SUMMARY: 0 errors" "$log"; then
  echo "memcheck: errors, see $log"
  exit 1
fi
echo "memcheck: clean"
