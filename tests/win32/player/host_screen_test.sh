#!/usr/bin/env bash
# The player full screen in its test host under Wine: a screenshot in which the five faces and
# captions are found, and real pointer and key input (xdotool) turned into FSCommands.
#   host_screen_test.sh PLAYER_HOST.exe WINE_EXEC SHOT_DIR
set -euo pipefail
host_exe=$1 wine_exec=$2 shots=$3
here=$(cd "$(dirname "$0")" && pwd)
project=$(cd "$here/../../.." && pwd)

"$project/scripts/wine-session.sh" ensure
if [ -z "${DISPLAY:-}" ]; then DISPLAY=$(cat "$PELLOX_WINE_STATE/display"); fi
export DISPLAY

work=$(mktemp -d)
host_pid=
cleanup() {
  [ -n "$host_pid" ] && kill "$host_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
printf '%s' '<?xml version="1.0"?><serie><value name="LONDON">GMT+00:00</value><value name="NEW YORK">GMT-05:00</value><value name="KOLKATA">GMT+05:30</value><value name="TOKYO">GMT+09:00</value><value name="Local Time">GMT+01:00</value></serie>' \
  >"$work/pellox2.xml"
movie="Z:${work//\//\\}\\PELLOXSS1.SWF"

read -r width height < <(xdotool getdisplaygeometry)
xdotool mousemove $((width / 2)) $((height / 2))

"$wine_exec" "$host_exe" /movie "$movie" /describe /seconds 40 >"$work/out.txt" 2>&1 &
host_pid=$!
for _ in $(seq 300); do
  grep -q '^end' "$work/out.txt" 2>/dev/null && break
  sleep 0.1
done
grep -q '^end' "$work/out.txt" || { echo "the host described no frame"; cat "$work/out.txt"; exit 1; }

mkdir -p "$shots"
import -window root "$shots/host-${width}x${height}.png"
convert "$shots/host-${width}x${height}.png" "$work/shot.ppm"

# Nothing so far may count as movement: the window's first WM_MOUSEMOVE only sets the position.
before=$(grep -c '^FSCommand MOUSEMOVE' "$work/out.txt" || true)
xdotool mousemove 100 100
sleep 0.5
xdotool mousemove 300 250
sleep 0.5
xdotool key a
sleep 1.5
kill "$host_pid" 2>/dev/null || true
wait "$host_pid" 2>/dev/null || true
host_pid=

python3 "$here/check_host_screen.py" "$work/shot.ppm" "$work/out.txt" "$before"
