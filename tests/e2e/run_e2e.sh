#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Drives the real wexal binary on a virtual X server with real X input and checks, from the
# X server's side, what a user would see: the title, a trace after a whole escape, a counter box
# changing colour with its light barrier, the information box and the ending.
#
# Usage: tests/e2e/run_e2e.sh path/to/wexal path/to/wexal_print_layout screenshot-folder
# Prints one PASS/FAIL line per check; exits 1 if any check fails, 77 if Xvfb or xdotool is
# not installed (ctest reports the test as skipped).
set -euo pipefail

if (($# != 3)); then
  echo "usage: $0 path/to/wexal path/to/wexal_print_layout screenshot-folder" >&2
  exit 2
fi
binary=$1
print_layout=$2
shots=$3
here=$(cd "$(dirname "$0")" && pwd)

for tool in Xvfb xdotool; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done
for tool in xprop xdpyinfo import convert compare; do
  command -v "$tool" >/dev/null || { echo "FAIL: $tool is not installed" >&2; exit 1; }
done
for program in "$binary" "$print_layout"; do
  [ -x "$program" ] || { echo "FAIL: $program is not an executable" >&2; exit 1; }
done
mkdir -p "$shots"

# --- The screen and the controls this test touches ---------------------------------------------

readonly screen_w=1024 screen_h=768  # pixels
readonly dpi=96                      # Qt's logical dots per inch on Xvfb (no Xft.dpi resource)
readonly title='ankraub in Tremmelin'
readonly box_title='Wexal'

# Where the window puts each control on this screen, in pixels relative to the window, as the
# program computes it: "left top width height" by name.
declare -A rect
while read -r name l t w h; do
  rect[$name]="$l $t $w $h"
done < <("$print_layout" "$screen_w" "$screen_h" "$dpi")
window_rect() {
  [ -n "${rect[$1]:-}" ] || { echo "FAIL: no control $1 in the layout" >&2; return 1; }
  echo "${rect[$1]}"
}

# A point inside a control, as fractions of its width and height.
window_point() {
  local x y w h
  read -r x y w h < <(window_rect "$1")
  awk -v x="$x" -v y="$y" -v w="$w" -v h="$h" -v fx="$2" -v fy="$3" \
      'BEGIN { printf "%d %d\n", x + w * fx + 0.5, y + h * fy + 0.5 }'
}

# --- Bookkeeping ------------------------------------------------------------------------------

failures=0
pass() { echo "PASS: $*"; }
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
die() { fail "$*"; exit 1; }

# shellcheck source=wait.sh
source "$here/wait.sh"

xvfb='' app='' scratch=''
cleanup() {
  local status=$?
  trap - EXIT
  if [ -n "$app" ] && alive "$app"; then kill "$app" 2>/dev/null || true; fi
  [ -n "$app" ] && { wait "$app" 2>/dev/null || true; }
  if [ -n "$xvfb" ]; then
    kill "$xvfb" 2>/dev/null || true
    wait "$xvfb" 2>/dev/null || true
  fi
  [ -n "$scratch" ] && rm -rf "$scratch"
  exit "$status"
}
trap cleanup EXIT
trap 'exit 130' INT TERM
scratch=$(mktemp -d)

# --- A virtual X server on a free display -----------------------------------------------------

start_xvfb "${screen_w}x${screen_h}x24" "$scratch/xvfb.log" || die "Xvfb did not start (see its log)"

# --- Start ----------------------------------------------------------------------------------

runtime_dir=$scratch/runtime
mkdir -m 700 "$runtime_dir"
find_window() { xdotool search --onlyvisible --name "$1" 2>/dev/null; }
window_mapped() { window=$(find_window "^$title\$") && [ -n "$window" ]; }

window=
started=$(now_ms)
# With a sanitizer build, system libraries' own leaks are not the program's.
env -u QT_SCALE_FACTOR -u QT_SCREEN_SCALE_FACTORS -u QT_FONT_DPI \
  QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR="$runtime_dir" \
  LSAN_OPTIONS="suppressions=$here/lsan.supp${LSAN_OPTIONS:+:$LSAN_OPTIONS}" \
  "$binary" >"$shots/wexal.log" 2>&1 &
app=$!
mapped_or_ended() { window_mapped || ! alive "$app"; }
wait_until 10 mapped_or_ended || true
if [ -z "$window" ]; then
  alive "$app" || die "the program ended before its window appeared (see $shots/wexal.log)"
  die "no window titled \"$title\" within 10 s"
fi
mapped=$(now_ms)
echo "launch to mapped: $((mapped - started)) ms"
if [ "$(wc -w <<<"$window")" -eq 1 ]; then
  pass "one window titled \"$title\""
else
  die "$(wc -w <<<"$window") windows titled \"$title\""
fi

name=$(xprop -id "$window" WM_NAME)
if [ "$name" = "WM_NAME(STRING) = \"$title\"" ]; then
  pass "title is exactly \"$title\" ($name)"
else
  fail "title: expected \"$title\", xprop says: $name"
fi

# The window opens at its start size in the middle of the screen (no window manager runs
# here, so it has no frame of its own).
window_centred() {
  local X Y WIDTH HEIGHT
  eval "$(xdotool getwindowgeometry --shell "$window" | grep -E '^(X|Y|WIDTH|HEIGHT)=')"
  local dx=$((2 * X + WIDTH - screen_w)) dy=$((2 * Y + HEIGHT - screen_h))
  ((dx >= -2 && dx <= 2 && dy >= -2 && dy <= 2))
}
if wait_until 5 window_centred; then
  pass "the window opens centred on the screen"
else
  fail "the window is not centred: $(xdotool getwindowgeometry "$window" | tr '\n' ' ')"
fi

# Give the window the whole screen and the keyboard.
xdotool windowmove "$window" 0 0 windowsize "$window" "$screen_w" "$screen_h" windowfocus --sync "$window"
window_at_origin() {
  local X Y WIDTH HEIGHT
  eval "$(xdotool getwindowgeometry --shell "$window" | grep -E '^(X|Y|WIDTH|HEIGHT)=')"
  [ "$X $Y $WIDTH $HEIGHT" = "0 0 $screen_w $screen_h" ]
}
wait_until 5 window_at_origin || die "the window did not take the whole screen"

# --- Reading the screen ---------------------------------------------------------------------

shoot() { import -window root "$1"; }

# Prints "r,g b" of one window pixel in a screenshot (the window stands at 0,0).
pixel_of() {
  convert "$1" -format "%[fx:int(255*p{$2,$3}.r+0.5)],%[fx:int(255*p{$2,$3}.g+0.5)],%[fx:int(255*p{$2,$3}.b+0.5)]" info:
}

# Cuts a control's rectangle out of a screenshot.
crop_control() {
  local x y w h
  read -r x y w h < <(window_rect "$2")
  convert "$1" -crop "${w}x${h}+${x}+${y}" +repage "$3"
}

# Number of differing pixels between two pictures of the same size; fails if compare cannot
# tell (pictures of different sizes, unreadable files).
differing_pixels() {
  local out
  out=$(compare -metric AE "$1" "$2" null: 2>&1) || true
  out=${out%% *}
  [[ $out =~ ^[0-9.]+(e\+?[0-9]+)?$ ]] || return 1
  awk -v n="$out" 'BEGIN { printf "%d\n", n }'
}

# A point well inside the counter box Text1(1), left of its centred text.
read -r box_x box_y < <(window_point 'Text1(1)' 0.15 0.5)
box_colour_is() {
  shoot "$scratch/box.png"
  [ "$(pixel_of "$scratch/box.png" "$box_x" "$box_y")" = "$1" ]
}
readonly white=255,255,255 yellow=255,255,0

# The map is painted when two pictures in a row agree.
map_settled() {
  shoot "$scratch/settle.png"
  crop_control "$scratch/settle.png" picBox "$scratch/map-now.png"
  if [ -e "$scratch/map-last.png" ] &&
     [ "$(differing_pixels "$scratch/map-last.png" "$scratch/map-now.png")" = 0 ]; then
    return 0
  fi
  mv "$scratch/map-now.png" "$scratch/map-last.png"
  return 1
}

# --- A whole escape leaves a trace on the map ----------------------------------------------

wait_until 10 box_colour_is "$white" || die "the window was not painted within 10 s"
rm -f "$scratch/map-last.png"
wait_until 10 map_settled || die "the map did not settle within 10 s"
cp "$scratch/settle.png" "$shots/01-start.png"
mv "$scratch/map-now.png" "$scratch/map-before.png"

map_changed() {
  shoot "$scratch/after.png"
  crop_control "$scratch/after.png" picBox "$scratch/map-after.png"
  changed=$(differing_pixels "$scratch/map-before.png" "$scratch/map-after.png") && ((changed > 0))
}
changed=0
xdotool key alt+w
if wait_until 5 map_changed; then
  pass "a whole escape (Alt+W) changed $changed pixels on the map"
else
  fail "a whole escape (Alt+W) left the map unchanged for 5 s"
fi
rm -f "$scratch/map-last.png"
wait_until 10 map_settled || fail "the map did not settle within 10 s of the escape"
cp "$scratch/settle.png" "$shots/02-whole-escape.png"

# --- A light barrier and its counter box --------------------------------------------------

read -r check_x check_y < <(window_point 'Check1(1)' 0.5 0.5)
if box_colour_is "$white"; then
  pass "counter box Text1(1) is white while barrier 1 is off"
else
  fail "counter box Text1(1) is $(pixel_of "$scratch/box.png" "$box_x" "$box_y") while barrier 1 is off, expected $white"
fi
xdotool mousemove --window "$window" "$check_x" "$check_y" click 1
if wait_until 5 box_colour_is "$yellow"; then
  pass "clicking Check1(1) at $check_x,$check_y turned Text1(1) yellow ($yellow at $box_x,$box_y)"
  cp "$scratch/box.png" "$shots/03-barrier-1-on.png"
  xdotool mousemove --window "$window" "$check_x" "$check_y" click 1
  if wait_until 5 box_colour_is "$white"; then
    pass "clicking Check1(1) again turned Text1(1) white"
  else
    fail "after the second click on Check1(1) Text1(1) is $(pixel_of "$scratch/box.png" "$box_x" "$box_y"), expected $white"
  fi
else
  fail "after clicking Check1(1) Text1(1) is $(pixel_of "$scratch/box.png" "$box_x" "$box_y") at $box_x,$box_y, expected $yellow"
  cp "$scratch/box.png" "$shots/03-barrier-1-on.png"
fi

# --- The information box ------------------------------------------------------------------

box_window=
box_open() { box_window=$(find_window "^$box_title\$") && [ -n "$box_window" ]; }
box_closed() { find_window "^$title\$" >/dev/null && ! find_window "^$box_title\$" >/dev/null; }
read -r info_x info_y < <(window_point Command1 0.5 0.5)
xdotool mousemove --window "$window" "$info_x" "$info_y" click 1
if wait_until 5 box_open; then
  if [ "$box_window" != "$window" ] && [ "$(wc -w <<<"$box_window")" -eq 1 ]; then
    pass "\"Information\" opened a second window titled \"$box_title\""
  else
    fail "\"Information\": expected one window titled \"$box_title\" besides the main window, found: $box_window"
  fi
  shoot "$shots/04-information.png"
  xdotool key Return
  if wait_until 5 box_closed; then
    pass "Enter closed the \"$box_title\" box"
  else
    fail "the \"$box_title\" box is still open 5 s after Enter"
  fi
else
  fail "\"Information\" opened no window titled \"$box_title\" within 5 s"
fi

# --- Ending -----------------------------------------------------------------------------

app_ended() { ! alive "$app"; }
read -r end_x end_y < <(window_point cmdEnde 0.5 0.5)
clicked=$(now_ms)
xdotool mousemove --window "$window" "$end_x" "$end_y" click 1
if wait_until 10 app_ended; then
  took=$(($(now_ms) - clicked))
  status=0
  wait "$app" || status=$?
  app=
  if ((status == 0 && took <= 2000)); then
    pass "\"Ende\" ended the program with status 0 after $took ms"
  else
    fail "\"Ende\" ended the program with status $status after $took ms (expected 0 within 2000 ms)"
  fi
else
  fail "the program still runs 10 s after \"Ende\""
fi

if ((failures)); then
  echo "$failures check(s) failed; screenshots in $shots"
  exit 1
fi
echo "all checks passed; screenshots in $shots"
