#!/usr/bin/env bash
# pelloxss.scr /s on a real (virtual) screen under Wine: the five clocks in a screenshot, three
# pointer moves leave it running and the fourth ends it, a key ends it.
#   saver_screen_test.sh PELLOXSS.scr SHOT_DIR
set -euo pipefail
scr=$1 shots=$2
here=$(cd "$(dirname "$0")" && pwd)
session="$(cd "$here/../../.." && pwd)/scripts/wine-session.sh"
mkdir -p "$shots"

work=$(mktemp -d /tmp/pellox-saver.XXXXXX)
saver_pid=
cleanup() {
  [ -n "$saver_pid" ] && kill "$saver_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

# The program in a folder of its own, with a clock file beside it.
cp "$scr" "$work/pelloxss.scr"
printf '%s' '<?xml version="1.0"?><serie><value name="LONDON">GMT+00:00</value><value name="NEW YORK">GMT-05:00</value><value name="SAN FRANCISCO">GMT-08:00</value><value name="HONG KONG">GMT+08:00</value><value name="Local Time">GMT+01:00</value></serie>' \
  >"$work/pellox2.xml"

start_saver() {  # the saver on $DISPLAY in the session $PELLOX_WINE_STATE; waits for its clocks
  "$session" exec "$work/pelloxss.scr" /s >"$work/saver.log" 2>&1 &
  saver_pid=$!
  for _ in $(seq 200); do
    xwininfo -root -tree 2>/dev/null | grep -q '"pelloxss.scr"' && break
    sleep 0.1
  done
  sleep 3  # the first frame and Wine's own first pointer message
}

running() { kill -0 "$saver_pid" 2>/dev/null; }

ended() {  # waits up to 10 s for the saver to end
  for _ in $(seq 100); do running || { saver_pid=; return 0; }; sleep 0.1; done
  return 1
}

failures=0
check() {  # DESCRIPTION COMMAND...
  local what=$1
  shift
  if "$@"; then echo "ok: $what"; else echo "FAILED: $what"; failures=$((failures + 1)); fi
}

"$session" ensure
export DISPLAY
DISPLAY=$("$session" display)
read -r width height < <(xdotool getdisplaygeometry)
xdotool mousemove $((width / 2)) $((height / 2))
start_saver
import -window root "$shots/saver-${width}x${height}.png"
check "five clocks on the screen" \
  python3 "$here/check_saver_screen.py" "$shots/saver-${width}x${height}.png" 1

for position in "100 100" "300 200" "500 300"; do
  xdotool mousemove $position
  sleep 0.7
done
check "three pointer moves leave the saver running" running
xdotool mousemove 700 400
check "the fourth pointer move ends the saver" ended

xdotool mousemove $((width / 2)) $((height / 2))
start_saver
xdotool key a
check "a key ends the saver" ended

echo "screenshots in $shots"
[ "$failures" -eq 0 ]
