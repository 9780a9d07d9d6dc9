#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds Wexal and starts it. The window needs a display: without one the script says so in one
# line, before it installs or builds anything, and ends with status 1.
set -euo pipefail
cd "$(dirname "$0")/.."
if [ -z "${QT_QPA_PLATFORM:-}${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  echo "tools/run.sh: Kein Bildschirm gefunden (DISPLAY und WAYLAND_DISPLAY sind nicht gesetzt). Wexal an einem Bildschirm starten oder ohne Bildschirm mit: xvfb-run -a bash tools/run.sh" >&2
  exit 1
fi
bash tools/install-deps.sh
cmake --preset default >/dev/null
cmake --build --preset default --target wexal
exec build/default/ui/wexal "$@"
