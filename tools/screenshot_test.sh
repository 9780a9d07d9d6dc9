#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The Auswertung's page "Test" under a hidden scenario: the window opens with the scenario and
# its Auswertung, "50 Wexalen" runs a number of times, "100 Serien" once, and the page is captured on the same
# virtual 1024 x 768 X server as tools/screenshot.sh, given the whole screen.
# Usage: tools/screenshot_test.sh [output.png] [clicks] [scenario.json]
#   clicks: how many times "50 Wexalen" is pressed (Alt+5); 10 clicks are 500 escapes.
set -euo pipefail
cd "$(dirname "$0")/.."
out=${1:-docs/test.png}
clicks=${2:-10}
scenario=${3:-docs/kreuzung2.json}
# shellcheck source=virtual_screen.sh
source tools/virtual_screen.sh
app=
cleanup() {
  [ -n "$app" ] && kill "$app" 2>/dev/null
  kill "$xvfb" 2>/dev/null
  wait 2>/dev/null || true
}
trap cleanup EXIT

find_window() {  # title pattern -> window id, waiting up to 30 s (a busy machine starts slowly)
  local id=
  for _ in $(seq 300); do
    id=$(xdotool search --name "$1" 2>/dev/null | head -n1) && [ -n "$id" ] && break
    sleep 0.1
  done
  [ -n "$id" ] || { echo "window $1 did not appear" >&2; return 1; }
  echo "$id"
}

"$binary" --szenario "$scenario" --auswertung &
app=$!
main=$(find_window '^ankraub in Tremmelin$')
auswertung=$(find_window '^Wexal – Auswertung')
xdotool windowfocus --sync "$main"
for ((i = 0; i < clicks; i++)); do
  xdotool key alt+5
  sleep 0.2
done
# No window manager runs here: the Auswertung takes the whole screen, then Alt+T its page.
xdotool windowmove "$auswertung" 0 0 windowsize "$auswertung" 1024 768 windowfocus --sync "$auswertung"
sleep 0.5
xdotool key alt+t
sleep 0.5  # the page redraws within a tenth of a second
xdotool key alt+1  # "100 Serien": 50 000 escapes in the background, a second on a busy machine
sleep 8
import -window root "$out"
echo "saved $out"
