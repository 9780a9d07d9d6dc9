#!/usr/bin/env bash
# Builds Wexal and runs every check: static analysis, the fuzzers, then the whole test suite
# twice, once with warnings as errors and once under Address-, UndefinedBehavior- and
# LeakSanitizer. Ends with ctest's summary of the sanitizer run.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/install-deps.sh
export QT_QPA_PLATFORM=offscreen

bash tools/analyse.sh
bash tools/fuzz.sh "${WEXAL_FUZZ_SECONDS:-60}"

cmake --preset ci
cmake --build --preset ci
ctest --preset ci -j2

cmake --preset asan
cmake --build --preset asan
ctest --preset asan -j2
