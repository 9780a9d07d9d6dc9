#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The Auswertung after a number of escapes, on the same virtual 1024 x 768 X server as
# tools/screenshot.sh, saved into a folder:
#   auswertung.png              the main window and the Auswertung side by side, each given the
#                               whole screen (2048 x 768)
#   auswertung-1024.png         the Auswertung alone, as it opens on the screen
#   auswertung-1024-gross.png   the same in its largest view ("Großansicht")
#   arbeitsblatt.png            the worksheet PDF it saves, its page rendered by pdftoppm
# Usage: tools/screenshot_auswertung.sh [folder] [clicks]
#   clicks: how many times "50 Wexalen" is pressed (Alt+5) before --auswertung's window is
#   shot; 20 clicks are 1,000 escapes.
set -euo pipefail
cd "$(dirname "$0")/.."
out=${1:-docs}
clicks=${2:-20}
mkdir -p "$out"
for tool in xdotool import convert pdftoppm; do
  command -v "$tool" >/dev/null || { echo "$tool is missing (bash tools/install-deps.sh)" >&2; exit 1; }
done
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

find_window() {  # title -> window id, waiting up to 30 s (a busy machine starts slowly)
  local id=
  for _ in $(seq 300); do
    id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n1) && [ -n "$id" ] && break
    sleep 0.1
  done
  [ -n "$id" ] || { echo "window $1 did not appear" >&2; return 1; }
  echo "$id"
}

# A settings folder of its own: the Auswertung opens in its normal view.
XDG_CONFIG_HOME="$shots/config" "$binary" --auswertung &
app=$!
main=$(find_window 'ankraub in Tremmelin')
auswertung=$(find_window 'Wexal – Auswertung')
xdotool windowactivate --sync "$main" 2>/dev/null || xdotool windowfocus --sync "$main"
for ((i = 0; i < clicks; i++)); do
  xdotool key alt+5
  sleep 0.2
done
sleep 0.5  # the Auswertung redraws within a tenth of a second

# As it opened: no window manager runs here, so it keeps the place and size it chose.
xdotool windowraise "$auswertung"
sleep 0.5
import -window root "$out/auswertung-1024.png"

# The worksheet, saved as a teacher would: Ctrl+S, a file name, Enter.
xdotool windowfocus --sync "$auswertung" key ctrl+s
sleep 1.5
xdotool type --delay 20 "$shots/arbeitsblatt.pdf"
xdotool key Return
for _ in $(seq 50); do [ -s "$shots/arbeitsblatt.pdf" ] && break; sleep 0.1; done
[ -s "$shots/arbeitsblatt.pdf" ] || { echo "the worksheet was not saved" >&2; exit 1; }
pdftoppm -png -r 100 -singlefile "$shots/arbeitsblatt.pdf" "$out/arbeitsblatt"

# The largest view: Ctrl+Plus until it grows no more.
xdotool windowfocus --sync "$auswertung"
for _ in 1 2 3 4 5 6 7 8; do xdotool key ctrl+equal; sleep 0.2; done
sleep 0.5
import -window root "$out/auswertung-1024-gross.png"
xdotool key ctrl+0
sleep 0.3

# Both windows, each given the whole screen.
xdotool windowmove "$main" 0 0 windowsize "$main" 1024 768 windowraise "$main"
sleep 0.5
import -window root "$shots/main.png"
xdotool windowmove "$auswertung" 0 0 windowsize "$auswertung" 1024 768 windowraise "$auswertung"
sleep 0.5
import -window root "$shots/auswertung.png"
convert "$shots/main.png" "$shots/auswertung.png" +append "$out/auswertung.png"
echo "saved in $out: auswertung.png auswertung-1024.png auswertung-1024-gross.png arbeitsblatt.png"
