#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The window opens centred with its frame: on a virtual X server with a window manager that
# adds a title bar, the frame's middle is the screen's middle.
# Usage: tests/e2e/check_centred.sh path/to/wexal
# Exits 77 (skipped) when Xvfb, openbox or xdotool is not installed.
set -euo pipefail
binary=$1
for tool in Xvfb openbox xdotool xwininfo xprop; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done
readonly screen_w=1024 screen_h=768

pids=()
scratch=$(mktemp -d)
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  rm -rf "$scratch"
}
trap cleanup EXIT

display=
for n in $(seq 191 250); do
  [ -e "/tmp/.X$n-lock" ] && continue
  Xvfb ":$n" -screen 0 "${screen_w}x${screen_h}x24" -nolisten tcp >/dev/null 2>&1 &
  pids+=($!)
  for _ in $(seq 50); do xwininfo -root -display ":$n" >/dev/null 2>&1 && break; sleep 0.1; done
  if xwininfo -root -display ":$n" >/dev/null 2>&1; then display=:$n; break; fi
done
[ -n "$display" ] || { echo "FAIL: no free display for Xvfb"; exit 1; }
export DISPLAY=$display
# As on a desktop, the window manager runs before the program starts.
wm_running() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; }
for _ in 1 2; do
  openbox --sm-disable >"$scratch/openbox.log" 2>&1 &
  pids+=($!)
  for _ in $(seq 100); do wm_running && break; sleep 0.1; done
  wm_running && break
done
if ! wm_running; then
  echo "SKIP: the window manager did not start"
  sed 's/^/openbox: /' "$scratch/openbox.log"
  exit 77
fi
XDG_RUNTIME_DIR=$scratch QT_QPA_PLATFORM=xcb "$binary" >"$scratch/wexal.log" 2>&1 &
pids+=($!)

# The frame's extents come from the window manager once it has framed the window.
centred() {
  local window extents left right top bottom x y w h
  window=$(xdotool search --onlyvisible --name '^ankraub in Tremmelin$' 2>/dev/null | head -1) || return 1
  [ -n "$window" ] || return 1
  extents=$(xprop -id "$window" _NET_FRAME_EXTENTS 2>/dev/null) || return 1
  [[ $extents =~ =\ ([0-9]+),\ ([0-9]+),\ ([0-9]+),\ ([0-9]+) ]] || return 1
  left=${BASH_REMATCH[1]} right=${BASH_REMATCH[2]} top=${BASH_REMATCH[3]} bottom=${BASH_REMATCH[4]}
  ((top > 0)) || return 1
  x=$(xwininfo -id "$window" | awk '/Absolute upper-left X/ {print $NF}')
  y=$(xwininfo -id "$window" | awk '/Absolute upper-left Y/ {print $NF}')
  w=$(xwininfo -id "$window" | awk '/Width:/ {print $NF}')
  h=$(xwininfo -id "$window" | awk '/Height:/ {print $NF}')
  # Twice the frame's middle minus the screen: 0 when centred, within a pixel of rounding.
  local dx=$((2 * (x - left) + left + w + right - screen_w))
  local dy=$((2 * (y - top) + top + h + bottom - screen_h))
  summary="client ${w}x${h} at $x,$y, frame extents $left $right $top $bottom"
  ((dx >= -2 && dx <= 2 && dy >= -2 && dy <= 2))
}
summary="no framed window"
for _ in $(seq 300); do
  if centred; then echo "PASS: the framed window stands centred ($summary)"; exit 0; fi
  sleep 0.1
done
echo "FAIL: the framed window is not centred ($summary)"
sed 's/^/wexal: /' "$scratch/wexal.log"
exit 1
