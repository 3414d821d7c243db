#!/usr/bin/env bash
# Soak run: pelloxss.scr /s full screen under Wine on a private 1920x1080 Xvfb for SECONDS,
# printing the saver's GDI and USER object counts (GetGuiResources) and its memory every STEP
# seconds. Flat numbers mean nothing leaks from frame to frame.
#   bench/saver-soak.sh [SECONDS=600] [STEP=30]
set -euo pipefail
cd "$(dirname "$0")/.."
secs=${1:-600} step=${2:-30}
build=$PWD/build/windows
scr=$build/src/pelloxss.scr
[ -f "$scr" ] || { echo "build the windows preset first" >&2; exit 1; }
work=$PWD/build/bench/soak
mkdir -p "$work"
x86_64-w64-mingw32-gcc -O2 -o "$work/guiprobe.exe" bench/guiprobe.c -lpsapi
cp "$scr" "$work/pelloxss.scr"
printf '%s' '<?xml version="1.0"?><serie><value name="LONDON">GMT+00:00</value><value name="NEW YORK">GMT-05:00</value><value name="SAN FRANCISCO">GMT-08:00</value><value name="HONG KONG">GMT+08:00</value><value name="Local Time">GMT+01:00</value></serie>' \
  >"$work/pellox2.xml"

fifo=$(mktemp -u)
mkfifo "$fifo"
Xvfb -displayfd 3 -screen 0 1920x1080x24 -nolisten tcp 3>"$fifo" </dev/null >/dev/null 2>&1 &
xvfb=$!
read -r number <"$fifo"
rm -f "$fifo"
export DISPLAY=":$number" PELLOX_WINE_STATE=$work/wine
mkdir -p "$work/wine"
[ -d "$work/wine/prefix" ] || cp -a "$build/wine/prefix" "$work/wine/prefix"
cleanup() {
  scripts/wine-session.sh stop >/dev/null 2>&1 || true
  kill "$xvfb" 2>/dev/null || true
}
trap cleanup EXIT
scripts/wine-session.sh ensure
scripts/wine-session.sh exec "$work/pelloxss.scr" /s >/dev/null 2>&1 &
sleep 5
echo "seconds gdi user working_set_kib private_kib"
for ((t = 0; t <= secs; t += step)); do
  printf '%s ' "$t"
  scripts/wine-session.sh exec "$work/guiprobe.exe" | sed 's/gdi \([0-9]*\) user \([0-9]*\) working_set_kib \([0-9]*\) private_kib \([0-9]*\)/\1 \2 \3 \4/'
  [ "$t" -lt "$secs" ] && sleep "$step"
done
