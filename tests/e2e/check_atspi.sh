#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Wexal with a screen reader's eyes: the built program, started with --auswertung, on a virtual
# X server, its accessibility tree read over the real AT-SPI bus by atspi_tree.py (Debian's
# /usr/bin/python3 with python3-pyatspi), which prints the trees of both windows, checks the
# names and descriptions, and presses Alt+W.
#
# Usage: tests/e2e/check_atspi.sh path/to/wexal [log-folder]
# Exits 1 if a check fails, 77 (skipped) if Xvfb, a D-Bus session or the AT-SPI bus cannot
# start here.
set -euo pipefail

if (($# < 1 || $# > 2)); then
  echo "usage: $0 path/to/wexal [log-folder]" >&2
  exit 2
fi
binary=$1
logs=${2:-}
here=$(cd "$(dirname "$0")" && pwd)
readonly title='ankraub in Tremmelin'
readonly bus_launcher=/usr/libexec/at-spi-bus-launcher
# pyatspi is a Debian package: a python3 earlier on the PATH may not have it.
readonly python=/usr/bin/python3

# Outside: check the tools, then run the rest in a D-Bus session of its own.
if [ -z "${WEXAL_ATSPI_SESSION:-}" ]; then
  for tool in Xvfb xdotool dbus-run-session dbus-send; do
    command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed, no bus to listen on"; exit 77; }
  done
  [ -x "$bus_launcher" ] || { echo "SKIP: $bus_launcher (at-spi2-core) is not installed"; exit 77; }
  [ -x "$binary" ] || { echo "FAIL: $binary is not an executable" >&2; exit 1; }
  "$python" -c 'import pyatspi' 2>/dev/null ||
    { echo "FAIL: $python cannot import pyatspi (install python3-pyatspi)" >&2; exit 1; }
  exec env WEXAL_ATSPI_SESSION=1 dbus-run-session -- bash "$0" "$@"
fi

# shellcheck source=wait.sh
source "$here/wait.sh"

xvfb='' bus='' app='' scratch=''
stop() {
  [ -n "$1" ] || return 0
  if alive "$1"; then kill "$1" 2>/dev/null || true; fi
  wait "$1" 2>/dev/null || true
}
cleanup() {
  local status=$?
  trap - EXIT
  stop "$app"
  stop "$bus"
  stop "$xvfb"
  [ -n "$scratch" ] && rm -rf "$scratch"
  exit "$status"
}
trap cleanup EXIT
trap 'exit 130' INT TERM
scratch=$(mktemp -d)
[ -n "$logs" ] && mkdir -p "$logs"
logs=${logs:-$scratch}

# --- A virtual X server on a free display --------------------------------------------------

start_xvfb 1024x768x24 "$scratch/xvfb.log" || { echo "SKIP: Xvfb did not start"; exit 77; }

# --- The accessibility bus, as a desktop session starts it -----------------------------------

"$bus_launcher" --launch-immediately >"$logs/at-spi-bus.log" 2>&1 &
bus=$!
# Asked only once the launcher owns its name, so that D-Bus does not start a second one.
bus_answers() {
  dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
    org.freedesktop.DBus.NameHasOwner string:org.a11y.Bus 2>/dev/null | grep -q 'boolean true' &&
    dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress \
      >"$scratch/address" 2>/dev/null && grep -q 'unix:' "$scratch/address"
}
bus_answers_or_gone() { bus_answers || ! alive "$bus"; }
wait_until 10 bus_answers_or_gone || true
if ! alive "$bus" || ! bus_answers; then
  echo "SKIP: the AT-SPI bus did not start ($(tr '\n' ' ' <"$logs/at-spi-bus.log"))"
  exit 77
fi
echo "AT-SPI bus: $(grep -o 'unix:[^"]*' "$scratch/address")"

# --- The program, with its accessibility on as when a screen reader runs ----------------------

runtime_dir=$scratch/runtime
mkdir -m 700 "$runtime_dir"
env -u QT_SCALE_FACTOR -u QT_SCREEN_SCALE_FACTORS -u QT_FONT_DPI \
  QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 XDG_RUNTIME_DIR="$runtime_dir" \
  XDG_CONFIG_HOME="$scratch/config" \
  LSAN_OPTIONS="suppressions=$here/lsan.supp${LSAN_OPTIONS:+:$LSAN_OPTIONS}" \
  "$binary" --auswertung >"$logs/wexal.log" 2>&1 &
app=$!
mapped() { xdotool search --onlyvisible --name "^$title\$" >/dev/null 2>&1; }
mapped_or_ended() { mapped || ! alive "$app"; }
wait_until 10 mapped_or_ended || true
if ! mapped; then
  alive "$app" || { echo "FAIL: the program ended before its window appeared (see $logs/wexal.log)"; exit 1; }
  echo "FAIL: no window titled \"$title\" within 10 s"
  exit 1
fi

status=0
"$python" "$here/atspi_tree.py" "$title" || status=$?
alive "$app" || { echo "FAIL: the program ended during the checks (see $logs/wexal.log)"; status=1; }
exit "$status"
