#!/usr/bin/env bash
# A private Xvfb for a build's tests when no display is set.
#   xvfb-session.sh start   start one unless DISPLAY is set or one runs; prints the display
#   xvfb-session.sh stop    stop the one this session started
# PELLOX_XVFB_STATE names the session's folder; the display name is kept in its file "display".
set -euo pipefail

state=${PELLOX_XVFB_STATE:?PELLOX_XVFB_STATE must name the Xvfb session folder}
mkdir -p "$state"
state=$(cd "$state" && pwd)

alive() { [ -f "$state/xvfb.pid" ] && kill -0 "$(cat "$state/xvfb.pid")" 2>/dev/null; }

start() {
  if [ -n "${DISPLAY:-}" ]; then echo "$DISPLAY"; return; fi
  exec 8>"$state/lock"
  flock 8
  if ! alive; then
    rm -f "$state/display" "$state/xvfb.pid" "$state/display.tmp"
    setsid Xvfb -displayfd 3 -screen 0 1920x1080x24 -nolisten tcp \
      3>"$state/display.tmp" </dev/null >/dev/null 2>&1 8>&- 9>&- &
    echo $! >"$state/xvfb.pid"
    for _ in $(seq 200); do
      [ -s "$state/display.tmp" ] && break
      sleep 0.05
    done
    echo ":$(tr -d '[:space:]' <"$state/display.tmp")" >"$state/display"
    rm -f "$state/display.tmp"
  fi
  exec 8>&-
  cat "$state/display"
}

stop() {
  if alive; then kill "$(cat "$state/xvfb.pid")" 2>/dev/null || true; fi
  rm -f "$state/xvfb.pid" "$state/display"
}

case "${1:-}" in
  start) start ;;
  stop) stop ;;
  *) echo "usage: $0 start|stop" >&2; exit 2 ;;
esac
