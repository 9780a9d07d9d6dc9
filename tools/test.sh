#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds Wexal and runs its tests, in two tiers:
#   tools/test.sh          installs what is missing, builds one configuration (the ci preset:
#                          warnings are errors) and runs the whole test suite: window, core,
#                          wexal-sim, end to end on Xvfb, and the package.
#   tools/test.sh --full   the same, then the centring check ten times beside two busy loops,
#                          clang-tidy and cppcheck, every fuzzer for 60 s (WEXAL_FUZZ_SECONDS),
#                          and the whole suite again built with Address-, UndefinedBehavior- and
#                          LeakSanitizer. What CI runs (.ci/run).
# Each tier ends with ctest's summary of its last run.
set -euo pipefail
cd "$(dirname "$0")/.."

full=0
case "${1:-}" in
  "") ;;
  --full) full=1 ;;
  *)
    echo "Aufruf: bash tools/test.sh [--full]" >&2
    exit 2
    ;;
esac

bash tools/install-deps.sh
export QT_QPA_PLATFORM=offscreen

cmake --preset ci
cmake --build --preset ci
ctest --preset ci -j2
((full)) || exit 0

bash tests/e2e/check_centred_under_load.sh build/ci/ui/wexal 10 || (($? == 77))  # 77: skipped
bash tools/analyse.sh
bash tools/fuzz.sh "${WEXAL_FUZZ_SECONDS:-60}"

cmake --preset asan
cmake --build --preset asan
ctest --preset asan -j2
