#!/usr/bin/env bash
# Memory of the clock player over time: runs the test host full screen under Wine on a private
# 1920x1080 Xvfb for SECONDS and prints the player process's resident and proportional memory
# every STEP seconds. Flat numbers mean nothing grows from frame to frame.
#   bench/player-memory.sh [SECONDS=600] [STEP=30]
set -euo pipefail
cd "$(dirname "$0")/.."
secs=${1:-600} step=${2:-30}
build=$PWD/build/windows
host=$build/tests/player_host.exe
[ -f "$host" ] || { echo "build the windows preset first" >&2; exit 1; }
PELLOX_WINE_STATE=$build/wine scripts/wine-session.sh ensure >/dev/null
PELLOX_WINE_STATE=$build/wine scripts/wine-session.sh stop >/dev/null
export WINEPREFIX=$build/wine/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="

clocks=$PWD/build/bench/clocks
mkdir -p "$clocks"
printf '%s' '<?xml version="1.0"?><serie><value name="LONDON">GMT+00:00</value><value name="NEW YORK">GMT-05:00</value><value name="SAN FRANCISCO">GMT-08:00</value><value name="HONG KONG">GMT+08:00</value><value name="Local Time">GMT+01:00</value></serie>' \
  >"$clocks/pellox2.xml"
movie="Z:${clocks//\//\\}\\PELLOXSS1.SWF"

fifo=$(mktemp -u)
mkfifo "$fifo"
Xvfb -displayfd 3 -screen 0 1920x1080x24 -nolisten tcp 3>"$fifo" </dev/null >/dev/null 2>&1 &
xvfb=$!
read -r number <"$fifo"
rm -f "$fifo"
export DISPLAY=":$number"
wine "$host" /movie "$movie" >/dev/null 2>&1 &
launcher=$!
cleanup() {
  kill "$launcher" 2>/dev/null || true
  wineserver -k >/dev/null 2>&1 || true
  kill "$xvfb" 2>/dev/null || true
}
trap cleanup EXIT

# The Windows process of the host: the newest process of this prefix running the host.
pid=
for _ in $(seq 100); do
  for p in $(pgrep -f 'player_host\.exe' || true); do
    if [ "$(tr '\0' '\n' <"/proc/$p/environ" 2>/dev/null | grep -c "^WINEPREFIX=$WINEPREFIX$")" = 1 ]; then
      pid=$p
    fi
  done
  [ -n "$pid" ] && break
  sleep 0.2
done
[ -n "$pid" ] || { echo "the host did not start" >&2; exit 1; }
sleep 5
echo "seconds rss_kib pss_kib"
for t in $(seq 0 "$step" "$secs"); do
  rss=$(awk '/^VmRSS:/ {print $2}' "/proc/$pid/status")
  pss=$(awk '/^Pss:/ {print $2}' "/proc/$pid/smaps_rollup")
  echo "$t $rss $pss"
  [ "$t" -lt "$secs" ] && sleep "$step"
done
