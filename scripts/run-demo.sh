#!/usr/bin/env bash
# Installs what is missing, builds, and runs the editor in paths/, beside resources/, where
# the user's path files are saved and listed.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVEYRUN_BUILD_TESTS=OFF
cmake --build build -j"$(nproc)" --target veyrun_demo veyrun_resindex
mkdir -p paths
cd paths
exec ../build/engine/Demo "$@"
