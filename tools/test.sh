#!/usr/bin/env bash
# Builds Wexal with warnings as errors and runs every test; ends with ctest's summary.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/install-deps.sh
export QT_QPA_PLATFORM=offscreen
cmake --preset ci
cmake --build --preset ci
ctest --preset ci -j2
