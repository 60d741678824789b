#!/usr/bin/env bash
# Installs what is missing, builds everything with warnings as errors, and runs the whole suite
# (unit, OpenGL and end-to-end tests) against an X server of its own.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
build=${BUILD_DIR:-build}
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVEYRUN_WARNINGS_AS_ERRORS=ON
cmake --build "$build" -j"$(nproc)"

# The OpenGL tests draw into windows on this server; the end-to-end tests start one each.
displayfile=$(mktemp)
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$displayfile" >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null || true; rm -f "$displayfile"' EXIT
for _ in $(seq 100); do
  [ -s "$displayfile" ] && break
  sleep 0.1
done
export DISPLAY=":$(head -n 1 "$displayfile")"

ctest --test-dir "$build" --output-on-failure -j"$(nproc)" --timeout 300
