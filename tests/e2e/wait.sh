# SPDX-License-Identifier: GPL-3.0-or-later
# Waiting helpers shared by the end-to-end scripts (sourced, not run).

now_ms() { local t=${EPOCHREALTIME//[!0-9]/}; echo $((10#$t / 1000)); }

# Alive and not yet a zombie.
alive() {
  local stat
  stat=$(cat "/proc/$1/stat" 2>/dev/null) || return 1
  stat=${stat##*) }
  [ "${stat%% *}" != Z ]
}

# wait_until SECONDS COMMAND...: polls COMMAND until it succeeds; fails after SECONDS.
wait_until() {
  local deadline=$(($(now_ms) + $1 * 1000))
  shift
  until "$@"; do
    (($(now_ms) < deadline)) || return 1
    sleep 0.02
  done
}

# start_xvfb GEOMETRY LOG: a virtual X server on a display that it picks itself (-displayfd):
# tests that start servers at the same time can never take the same display, as they could
# when each chose a free-looking number. Sets $xvfb (its process) and exports DISPLAY; fails
# when the server has not told its display within 10 s or takes no client. -noreset: a server
# resets when its last client leaves, and a program connecting in that moment is turned away.
start_xvfb() {
  local geometry=$1 log=$2 told
  told=$(mktemp)
  Xvfb -displayfd 3 -noreset -screen 0 "$geometry" -nolisten tcp 3>"$told" >"$log" 2>&1 &
  xvfb=$!
  display_told() { grep -q '^[0-9][0-9]*$' "$told" || ! alive "$xvfb"; }
  wait_until 10 display_told || true
  local number
  number=$(head -n 1 "$told")
  rm -f "$told"
  alive "$xvfb" && [[ $number =~ ^[0-9]+$ ]] || return 1
  export DISPLAY=:$number
  takes_clients() { xwininfo -root >/dev/null 2>&1; }
  wait_until 10 takes_clients
}
