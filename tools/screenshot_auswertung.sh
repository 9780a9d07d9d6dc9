#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The main window and its Auswertung after a number of escapes, side by side: both captured on
# the same virtual 1024 x 768 X server as tools/screenshot.sh, each given the whole screen, and
# joined into one picture of 2048 x 768 pixels.
# Usage: tools/screenshot_auswertung.sh [output.png] [clicks]
#   clicks: how many times "50 Wexalen" is pressed (Alt+5) before F2 opens the Auswertung;
#   20 clicks are 1,000 escapes.
set -euo pipefail
cd "$(dirname "$0")/.."
out=${1:-docs/auswertung.png}
clicks=${2:-20}
# shellcheck source=virtual_screen.sh
source tools/virtual_screen.sh
app=
shots=$(mktemp -d)
cleanup() {
  [ -n "$app" ] && kill "$app" 2>/dev/null
  kill "$xvfb" 2>/dev/null
  wait 2>/dev/null || true
  rm -rf "$shots"
}
trap cleanup EXIT

find_window() {  # title -> window id
  local id=
  for _ in $(seq 100); do
    id=$(xdotool search --name "^$1\$" 2>/dev/null | head -n1) && [ -n "$id" ] && break
    sleep 0.1
  done
  [ -n "$id" ] || { echo "window $1 did not appear" >&2; return 1; }
  echo "$id"
}

"$binary" &
app=$!
main=$(find_window 'ankraub in Tremmelin')
# No window manager runs here: "maximise" by giving each window the whole screen.
xdotool windowmove "$main" 0 0 windowsize "$main" 1024 768 windowfocus --sync "$main"
sleep 1
for ((i = 0; i < clicks; i++)); do
  xdotool key alt+5
  sleep 0.2
done
sleep 0.5
import -window root "$shots/main.png"

xdotool key F2
auswertung=$(find_window 'Wexal – Auswertung')
xdotool windowmove "$auswertung" 0 0 windowsize "$auswertung" 1024 768
sleep 0.5  # the Auswertung redraws within a tenth of a second
import -window root "$shots/auswertung.png"
convert "$shots/main.png" "$shots/auswertung.png" +append "$out"
echo "saved $out"
