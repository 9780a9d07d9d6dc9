#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Takes a screenshot of the real window on a virtual 1024 x 768 X server.
# Usage: tools/screenshot.sh [output.png] [escapes]   (escapes: "ganze Wexal" clicks before)
set -euo pipefail
cd "$(dirname "$0")/.."
out=${1:-docs/screenshot.png}
escapes=${2:-0}
# shellcheck source=virtual_screen.sh
source tools/virtual_screen.sh
app=
cleanup() { [ -n "$app" ] && kill "$app" 2>/dev/null; kill "$xvfb" 2>/dev/null; wait 2>/dev/null || true; }
trap cleanup EXIT

"$binary" &
app=$!
window=
for _ in $(seq 100); do
  window=$(xdotool search --name '^ankraub in Tremmelin$' 2>/dev/null | head -n1) && [ -n "$window" ] && break
  sleep 0.1
done
[ -n "$window" ] || { echo "window did not appear" >&2; exit 1; }
# No window manager runs here: "maximise" by giving the window the whole screen.
xdotool windowmove "$window" 0 0 windowsize "$window" 1024 768 windowfocus --sync "$window"
sleep 0.5
for ((i = 0; i < escapes; i++)); do
  xdotool key alt+n alt+w
  sleep 0.1
done
sleep 0.5
import -window root "$out"
echo "saved $out"
