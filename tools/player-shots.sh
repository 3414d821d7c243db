#!/usr/bin/env bash
# Screenshots of the clock player in its test host under Wine, at full screen and at several
# window sizes (the preview among them), to look at.
#   tools/player-shots.sh OUT_DIR [CLOCK_FILE]
# Uses $DISPLAY (a 1920x1080 screen, for example "Xvfb :72 -screen 0 1920x1080x24") or the
# build's own Wine session display.
set -euo pipefail
cd "$(dirname "$0")/.."
out=$(mkdir -p "$1" && cd "$1" && pwd)
export PELLOX_WINE_STATE=$PWD/build/windows/wine
host=build/windows/tests/player_host.exe
scripts/wine-session.sh ensure
DISPLAY=$(scripts/wine-session.sh display)
export DISPLAY

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
if [ -n "${2:-}" ]; then
  cp "$2" "$work/pellox2.xml"
else
  printf '%s' '<?xml version="1.0"?><serie><value name="LONDON">GMT+00:00</value><value name="NEW YORK">GMT-05:00</value><value name="SAN FRANCISCO">GMT-08:00</value><value name="HONG KONG">GMT+08:00</value><value name="Local Time">GMT+01:00</value></serie>' \
    >"$work/pellox2.xml"
fi
movie="Z:${work//\//\\}\\PELLOXSS1.SWF"

shoot() {  # name [WxH]
  local name=$1 size=${2:-}
  local args=(/movie "$movie" /describe /seconds 30)
  [ -n "$size" ] && args+=(/size "$size")
  build/windows/wine-exec.sh "$host" "${args[@]}" >"$work/out.txt" 2>&1 &
  local pid=$!
  for _ in $(seq 300); do grep -q '^end' "$work/out.txt" && break; sleep 0.1; done
  if [ -n "$size" ]; then
    import -window root -crop "${size}+0+0" +repage "$out/$name.png"
  else
    import -window root "$out/$name.png"
  fi
  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  echo "$out/$name.png"
}

shoot fullscreen
shoot preview-150x110 150x110
shoot 4x3-1024x768 1024x768
shoot 21x9-1920x823 1920x823
shoot portrait-600x1000 600x1000
