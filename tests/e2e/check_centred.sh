#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The window opens centred with its frame: on a virtual X server with a window manager that
# adds a title bar, the frame's middle is the screen's middle. On a screen too small for it, the
# frame's top-left corner is the screen's instead, so the title bar stays on the screen. With
# "auswertung" the same holds for the Auswertung, opened with F2 from the placed main window.
# Usage: tests/e2e/check_centred.sh path/to/wexal [WIDTHxHEIGHT [QT_SCALE_FACTOR [auswertung]]]
# Exits 77 (skipped) when Xvfb, openbox or xdotool is not installed.
set -euo pipefail
binary=$1
screen=${2:-1024x768}
scale=${3:-1}
which=${4:-main}
for tool in Xvfb openbox xdotool xwininfo xprop; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done
readonly screen_w=${screen%x*} screen_h=${screen#*x}
# Positions are scaled back and forth: a pixel of rounding per factor.
readonly slack=$((2 * ${scale%.*}))

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
# As on a desktop, the window manager has started before the program does. Openbox claims the
# screen before it manages windows, and a window mapped in between is never framed: its
# --startup command runs only once it manages windows.
wm_ready() { [ -e "$scratch/openbox-ready" ]; }
openbox --sm-disable --startup "touch $scratch/openbox-ready" >"$scratch/openbox.log" 2>&1 &
pids+=($!)
for _ in $(seq 300); do wm_ready && break; sleep 0.1; done
if ! wm_ready; then
  echo "SKIP: the window manager did not start"
  sed 's/^/openbox: /' "$scratch/openbox.log"
  exit 77
fi
XDG_RUNTIME_DIR=$scratch QT_QPA_PLATFORM=xcb QT_SCALE_FACTOR=$scale "$binary" >"$scratch/wexal.log" 2>&1 &
pids+=($!)

# Where one axis of the frame should start: centred where it fits, else at the screen's edge.
expected_start() {
  local size=$1 screen=$2
  if ((size > screen)); then echo 0; else echo $(((screen - size) / 2)); fi
}

# The frame's extents come from the window manager once it has framed the window.
title='^ankraub in Tremmelin$'
placed() {
  local window extents left right top bottom x y w h want_x want_y
  window=$(xdotool search --onlyvisible --name "$title" 2>/dev/null | head -1) || return 1
  [ -n "$window" ] || return 1
  extents=$(xprop -id "$window" _NET_FRAME_EXTENTS 2>/dev/null) || return 1
  [[ $extents =~ =\ ([0-9]+),\ ([0-9]+),\ ([0-9]+),\ ([0-9]+) ]] || return 1
  left=${BASH_REMATCH[1]} right=${BASH_REMATCH[2]} top=${BASH_REMATCH[3]} bottom=${BASH_REMATCH[4]}
  ((top > 0)) || return 1
  x=$(xwininfo -id "$window" | awk '/Absolute upper-left X/ {print $NF}')
  y=$(xwininfo -id "$window" | awk '/Absolute upper-left Y/ {print $NF}')
  w=$(xwininfo -id "$window" | awk '/Width:/ {print $NF}')
  h=$(xwininfo -id "$window" | awk '/Height:/ {print $NF}')
  want_x=$(expected_start $((left + w + right)) "$screen_w")
  want_y=$(expected_start $((top + h + bottom)) "$screen_h")
  local dx=$((x - left - want_x)) dy=$((y - top - want_y))
  summary="client ${w}x${h} at $x,$y, frame extents $left $right $top $bottom, frame $((dx)),$((dy)) from $want_x,$want_y"
  ((dx >= -slack && dx <= slack && dy >= -slack && dy <= slack))
}
summary="no framed window"
wait_placed() {
  for _ in $(seq 300); do
    placed && return 0
    sleep 0.1
  done
  return 1
}
if [ "$which" = auswertung ] && wait_placed; then
  # F2 is a shortcut of the active window: activate it, wait for the focus, then press the key
  # as a keyboard would.
  main=$(xdotool search --onlyvisible --name "$title" | head -1)
  xdotool windowactivate --sync "$main" 2>/dev/null || xdotool windowfocus --sync "$main"
  for _ in $(seq 300); do [ "$(xdotool getactivewindow 2>/dev/null)" = "$main" ] && break; sleep 0.1; done
  xdotool key F2
  title='^Wexal .+ Auswertung$'  # the dash is one byte or three, by locale
  summary="no framed Auswertung"
fi
if wait_placed; then
  echo "PASS: the framed $which window stands where it belongs on $screen at scale $scale ($summary)"
  exit 0
fi
echo "FAIL: the framed $which window is not where it belongs on $screen at scale $scale ($summary)"
sed 's/^/wexal: /' "$scratch/wexal.log"
exit 1
