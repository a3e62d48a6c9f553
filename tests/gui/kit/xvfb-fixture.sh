#!/usr/bin/env bash
# Starts or stops the one Xvfb that a CTest run's GUI tests share.
#   xvfb-fixture.sh start <state-dir>: starts Xvfb on a free display (it picks the number itself,
#       so parallel runs never collide) and writes the number to <state-dir>/display.
#   xvfb-fixture.sh stop <state-dir>: stops it and removes the state files.
# A server left behind by an interrupted run is stopped by the next start.
set -euo pipefail
action=$1
dir=$2
mkdir -p "$dir"
pidfile=$dir/xvfb.pid
displayfile=$dir/display

stop_recorded() {
  if [ -f "$pidfile" ]; then
    pid=$(cat "$pidfile")
    # Only a process that is still our Xvfb is stopped.
    if [ -n "$pid" ] && [ -r "/proc/$pid/cmdline" ] && tr '\0' ' ' <"/proc/$pid/cmdline" | grep -q '^Xvfb '; then
      kill "$pid" 2>/dev/null || true
      for _ in $(seq 50); do
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
      done
    fi
    rm -f "$pidfile"
  fi
  rm -f "$displayfile"
}

case $action in
start)
  stop_recorded
  command -v Xvfb >/dev/null || { echo "Xvfb is not installed (package xvfb)" >&2; exit 1; }
  tmp=$dir/display.tmp
  rm -f "$tmp"
  setsid Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset \
    3>"$tmp" </dev/null >/dev/null 2>"$dir/xvfb.log" &
  echo $! >"$pidfile"
  for _ in $(seq 200); do
    if [ -s "$tmp" ] && grep -q '^[0-9][0-9]*$' "$tmp"; then
      mv "$tmp" "$displayfile"
      echo "Xvfb on :$(cat "$displayfile")"
      exit 0
    fi
    kill -0 "$(cat "$pidfile")" 2>/dev/null || break
    sleep 0.1
  done
  echo "Xvfb did not start:" >&2
  cat "$dir/xvfb.log" >&2 || true
  stop_recorded
  exit 1
  ;;
stop)
  stop_recorded
  ;;
*)
  echo "usage: $0 start|stop <state-dir>" >&2
  exit 2
  ;;
esac
