#!/usr/bin/env bash
# Builds Wexal and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/install-deps.sh
cmake --preset default >/dev/null
cmake --build --preset default --target wexal
exec build/default/ui/wexal "$@"
