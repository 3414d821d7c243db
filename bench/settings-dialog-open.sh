#!/usr/bin/env bash
# Time from starting "pelloxss.scr /c" to its dialog on screen (catalogue load and sort
# included), under Wine in the build's session. Prints one line per run and the median.
#   bench/settings-dialog-open.sh [RUNS]        (default 5; needs the windows preset built)
# Uses DISPLAY when set, else a private Xvfb on :74 (PELLOX_BENCH_DISPLAY).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
runs=${1:-5}
scr="$root/build/windows/src/pelloxss.scr"
session="$root/scripts/wine-session.sh"
export PELLOX_WINE_STATE="$root/build/windows/wine"

xvfb_pid=
work=$(mktemp -d /tmp/pellox-bench.XXXXXX)
cleanup() {
  # A session started on our private display must not outlive it.
  if [ -n "$xvfb_pid" ]; then
    "$session" stop >/dev/null 2>&1 || true
    kill "$xvfb_pid" 2>/dev/null
  fi
  rm -rf "$work"
}
trap cleanup EXIT
if [ -z "${DISPLAY:-}" ]; then
  export DISPLAY=${PELLOX_BENCH_DISPLAY:-:74}
  Xvfb "$DISPLAY" -screen 0 1920x1080x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb_pid=$!
  sleep 1
fi
# A copy in a folder of its own, so that the run leaves no clock file in the build.
cp "$scr" "$work/"
[ -z "$xvfb_pid" ] || "$session" stop
"$session" ensure

times=()
for i in $(seq "$runs"); do
  start=$(date +%s%N)
  "$session" exec "$work/pelloxss.scr" /c &
  pid=$!
  # xdotool's own --sync looks only every half second; look every 10 ms instead.
  for _ in $(seq 6000); do
    xdotool search --onlyvisible --name 'Pellox Screensaver Properties' >/dev/null 2>&1 && break
    sleep 0.01
  done
  end=$(date +%s%N)
  ms=$(( (end - start) / 1000000 ))
  times+=("$ms")
  echo "run $i: ${ms} ms from start to dialog on screen"
  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  sleep 0.5
done
sorted=($(printf '%s\n' "${times[@]}" | sort -n))
echo "median: ${sorted[$(( ${#sorted[@]} / 2 ))]} ms over $runs runs"
