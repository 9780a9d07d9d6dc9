# SPDX-License-Identifier: GPL-3.0-or-later
# Shared by the screenshot scripts (sourced, not run): the program to show, built when missing,
# and a virtual X server of 1024 x 768 pixels (or $WEXAL_SCREEN, like 1280x960), its process in
# $xvfb and its display in $DISPLAY.
binary=${WEXAL_BINARY:-build/default/ui/wexal}
[ -x "$binary" ] || { cmake --preset default >/dev/null && cmake --build --preset default --target wexal; }

display=:$((90 + RANDOM % 100))
Xvfb "$display" -screen 0 "${WEXAL_SCREEN:-1024x768}x24" -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
export DISPLAY=$display
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
