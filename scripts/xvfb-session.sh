#!/usr/bin/env bash
# The one place that starts Xvfb: the private X display of the tests, the run script and the
# screenshot scripts.
#   xvfb-session.sh start          unless DISPLAY is set or one runs, start the session's display;
#                                  prints the display name
#   xvfb-session.sh stop           stop the display that start started
#   xvfb-session.sh exec CMD...    run CMD on the session's display when DISPLAY is not set
#   xvfb-session.sh run CMD...     run CMD on a display of its own, stopped afterwards
# start, stop and exec keep the session in the folder $PELLOX_XVFB_STATE.
set -euo pipefail

# Starts Xvfb with the given screen options; its pid in $state/xvfb.pid, its name in
# $state/display.
launch() {
  rm -f "$state/display" "$state/display.tmp"
  setsid Xvfb -displayfd 3 "$@" -nolisten tcp 3>"$state/display.tmp" </dev/null >/dev/null \
    2>&1 8>&- 9>&- &
  echo $! >"$state/xvfb.pid"
  for _ in $(seq 400); do
    [ -s "$state/display.tmp" ] && break
    sleep 0.05
  done
  echo ":$(tr -d '[:space:]' <"$state/display.tmp")" >"$state/display"
  rm -f "$state/display.tmp"
}

alive() { [ -f "$state/xvfb.pid" ] && kill -0 "$(cat "$state/xvfb.pid")" 2>/dev/null; }

stop() {
  if alive; then kill "$(cat "$state/xvfb.pid")" 2>/dev/null || true; fi
  rm -f "$state/xvfb.pid" "$state/display"
}

session_state() {
  state=${PELLOX_XVFB_STATE:?PELLOX_XVFB_STATE must name the Xvfb session folder}
  mkdir -p "$state"
  state=$(cd "$state" && pwd)
}

case "${1:-}" in
  start)
    if [ -n "${DISPLAY:-}" ]; then echo "$DISPLAY"; exit 0; fi
    session_state
    exec 8>"$state/lock"
    flock 8
    alive || launch -screen 0 1920x1080x24
    cat "$state/display"
    ;;
  stop)
    session_state
    stop
    ;;
  exec)
    shift
    if [ -z "${DISPLAY:-}" ] && [ -f "${PELLOX_XVFB_STATE:-/nonexistent}/display" ]; then
      DISPLAY=$(cat "$PELLOX_XVFB_STATE/display")
      export DISPLAY
    fi
    exec "$@"
    ;;
  run)
    shift
    state=$(mktemp -d /tmp/pellox-xvfb.XXXXXX)
    trap 'stop; rm -rf "$state"' EXIT
    launch -screen 0 1920x1080x24
    DISPLAY=$(cat "$state/display") "$@"
    ;;
  *)
    echo "usage: $0 start|stop|exec CMD...|run CMD..." >&2
    exit 2
    ;;
esac
