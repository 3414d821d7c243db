#!/usr/bin/env bash
# Screenshots of both savers to look at, full screen at 1920x1080 and at preview size:
#   linux-fullscreen.png   pelloxss /s
#   linux-preview.png      pelloxss /p into a 152x112 window
#   windows-fullscreen.png pelloxss.scr /s under Wine
#   windows-preview.png    pelloxss.scr /s on a 152x112 screen (under Wine the /p child of
#                          another process's window is not drawn)
#   tools/player-shots.sh [OUT_DIR=build/shots] [CLOCK_FILE]
# Needs the native and windows presets built.
set -euo pipefail
cd "$(dirname "$0")/.."
out=${1:-build/shots}
mkdir -p "$out"
out=$(cd "$out" && pwd)
work=$(mktemp -d)
pids=()
cleanup() {
  for pid in "${pids[@]}" $(cat "$work/servers" 2>/dev/null); do kill "$pid" 2>/dev/null || true; done
  PELLOX_WINE_STATE=$work/wine scripts/wine-session.sh stop >/dev/null 2>&1 || true
  rm -rf "$work"
}
trap cleanup EXIT

mkdir -p "$work/config/pelloxss" "$work/run" "$work/scr"
chmod 700 "$work/run"
if [ -n "${2:-}" ]; then
  cp "$2" "$work/scr/pellox2.xml"
else
  printf '%s' '<?xml version="1.0"?><serie><value name="LONDON">GMT+00:00</value><value name="NEW YORK">GMT-05:00</value><value name="SAN FRANCISCO">GMT-08:00</value><value name="HONG KONG">GMT+08:00</value><value name="Local Time">GMT+01:00</value></serie>' \
    >"$work/scr/pellox2.xml"
fi
cp "$work/scr/pellox2.xml" "$work/config/pelloxss/pellox2.xml"
cp build/windows/src/pelloxss.scr "$work/scr/"

screen() {  # WxH: starts an Xvfb of that size and prints its display
  local fifo=$work/display-$1
  mkfifo "$fifo"
  Xvfb -displayfd 3 -screen 0 "${1}x24" -nolisten tcp 3>"$fifo" </dev/null >/dev/null 2>&1 &
  echo $! >>"$work/servers"  # run in a subshell: the pid list would not reach cleanup
  local number
  number=$(head -n 1 "$fifo")
  rm -f "$fifo"  # the same size may be asked for again
  echo ":$number"
}

linux() {  # DISPLAY ARGS...: the native saver on a display
  local display=$1
  shift
  DISPLAY=$display XDG_CONFIG_HOME=$work/config XDG_RUNTIME_DIR=$work/run \
    build/native/src/pelloxss "$@" >/dev/null 2>&1 &
  pids+=($!)
}

full=$(screen 1920x1080)
linux "$full" /s
sleep 4
DISPLAY=$full import -window root "$out/linux-fullscreen.png"
kill "${pids[-1]}"
sleep 0.5

DISPLAY=$full xeyes +shape -geometry 152x112+40+40 &  # unshaped: the preview fills all of it
pids+=($!)
sleep 1
host=$(DISPLAY=$full xdotool search --sync --class xeyes | head -n 1)
linux "$full" /p "$host"
sleep 4
DISPLAY=$full import -window root -crop 152x112+40+40 +repage "$out/linux-preview.png"

for size in 1920x1080 152x112; do
  name=windows-fullscreen
  [ "$size" = 152x112 ] && name=windows-preview
  display=$(screen "$size")
  # A session of its own on this display, in a copy of the build's prefix.
  PELLOX_WINE_STATE=$work/wine scripts/wine-session.sh stop >/dev/null 2>&1 || true
  rm -rf "$work/wine"
  mkdir -p "$work/wine"
  cp -a build/windows/wine/prefix "$work/wine/prefix"
  DISPLAY=$display PELLOX_WINE_STATE=$work/wine scripts/wine-session.sh exec \
    "$work/scr/pelloxss.scr" /s >/dev/null 2>&1 &
  pids+=($!)
  for _ in $(seq 300); do
    DISPLAY=$display xwininfo -root -tree 2>/dev/null | grep -q '"pelloxss.scr"' && break
    sleep 0.1
  done
  sleep 3
  DISPLAY=$display import -window root "$out/$name.png"
done
ls "$out"/*.png
