#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Started without a usable display, the window program and tools/run.sh say so in one German
# line on standard error and end with status 1: no Qt abort, no core dump, nothing built.
#
# Usage: tests/e2e/check_no_display.sh path/to/wexal path/to/tools/run.sh
# Prints one PASS/FAIL line per check; exits 1 if any check fails.
set -euo pipefail

if (($# != 2)); then
  echo "usage: $0 path/to/wexal path/to/tools/run.sh" >&2
  exit 2
fi
binary=$1
run_script=$2

failures=0
pass() { echo "PASS: $*"; }
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
# A core dump would land in the working folder.
ulimit -c unlimited 2>/dev/null || true

# expect_one_line NAME SHOWN COMMAND...: runs COMMAND in an empty folder without a display
# and checks its status, its output and that its one line of standard error contains SHOWN.
expect_one_line() {
  local name=$1 shown=$2 status=0
  shift 2
  mkdir "$scratch/$name"
  (cd "$scratch/$name" && timeout 60 env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$@" \
    >../"$name.out" 2>../"$name.err") || status=$?
  local err lines
  err=$(cat "$scratch/$name.err")
  lines=$(wc -l <"$scratch/$name.err")
  if ((status == 1)); then pass "$name: status 1"; else fail "$name: status $status, expected 1"; fi
  if ((lines == 1)) && [[ $err == *"$shown"* && $err == *"xvfb-run"* ]]; then
    pass "$name: one line on standard error: $err"
  else
    fail "$name: expected one line naming \"$shown\" and xvfb-run, got $lines:"$'\n'"$err"
  fi
  if [ -s "$scratch/$name.out" ]; then fail "$name: printed on standard output: $(cat "$scratch/$name.out")"; fi
  if compgen -G "$scratch/$name/core*" >/dev/null; then fail "$name: left a core dump"; fi
}

# Nothing named at all.
expect_one_line unset "Kein Bildschirm gefunden" "$binary"

# A display that is named but has no server: the lowest number without a lock file or socket.
n=200
while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done
expect_one_line unreachable "„DISPLAY=:$n“" env DISPLAY=":$n" "$binary"

# The run script says it before it installs or builds anything.
expect_one_line run_script "Kein Bildschirm gefunden" bash "$run_script"

if ((failures)); then
  echo "$failures check(s) failed"
  exit 1
fi
echo "all checks passed"
