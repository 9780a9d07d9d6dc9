#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The Auswertung's page "Übergänge" on a virtual 1280 x 960 X server, driven by keys only:
# the matrix with the cell "4 (von 2)" -> "6" chosen, so the map shows that state's streets;
# the map after two steps; and the Baumdiagramm at k = 3 with a whole escape's path.
# Usage: tools/screenshot_uebergaenge.sh [folder]   (default docs: uebergaenge_matrix.png,
#   uebergaenge_karte.png, uebergaenge_baum.png)
set -euo pipefail
cd "$(dirname "$0")/.."
folder=${1:-docs}
export WEXAL_SCREEN=1280x960
# shellcheck source=virtual_screen.sh
source tools/virtual_screen.sh
app=
cleanup() { [ -n "$app" ] && kill "$app" 2>/dev/null; kill "$xvfb" 2>/dev/null; wait 2>/dev/null || true; }
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
keys() { xdotool key --delay 60 "$@"; sleep 0.4; }

"$binary" &
app=$!
main=$(find_window 'ankraub in Tremmelin')
xdotool windowmove "$main" 0 0 windowfocus --sync "$main"
sleep 0.5
keys F2
auswertung=$(find_window 'Wexal – Auswertung')
# No window manager runs here: the Auswertung gets the whole screen and the focus by hand.
xdotool windowmove "$auswertung" 0 0 windowsize "$auswertung" 1280 960 windowfocus --sync "$auswertung"
sleep 0.5
keys alt+b                        # the page "Übergänge"
keys alt+m Down Down Down Right Right Right Right Right   # row "4 (von 2)", column "6"
import -window "$auswertung" "$folder/uebergaenge_matrix.png"
keys alt+n Right Right            # the slider: n = 2
import -window "$auswertung" "$folder/uebergaenge_karte.png"
keys alt+t Up                     # the tree: k = 3
xdotool windowfocus --sync "$main"
keys alt+w                        # a whole escape in the main window: its path in the tree
xdotool windowfocus --sync "$auswertung"
sleep 0.5
import -window "$auswertung" "$folder/uebergaenge_baum.png"
echo "saved $folder/uebergaenge_matrix.png, uebergaenge_karte.png, uebergaenge_baum.png"
