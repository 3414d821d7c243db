#!/usr/bin/env bash
# Screenshots of "pelloxss.scr /c" at several DPI settings, for a person to look at.
#   tests/win32/config/dialog-screenshots.sh OUTDIR [DPI...]     (default DPI: 96 144 192)
# Uses a private copy of the build's Wine prefix (the DPI is a prefix setting) on an X display
# of its own. Writes OUTDIR/dialog-DPI.png (the dialog) and OUTDIR/screen-DPI.png (the whole
# screen).
set -euo pipefail
root="$(cd "$(dirname "$0")/../../.." && pwd)"
if [ -z "${PELLOX_SHOTS_DISPLAY:-}" ]; then
  exec "$root/scripts/xvfb-session.sh" run env PELLOX_SHOTS_DISPLAY=1 bash "$0" "$@"
fi
out=$(mkdir -p "$1" && cd "$1" && pwd)
shift
dpis=("$@")
[ ${#dpis[@]} -gt 0 ] || dpis=(96 144 192)
scr="$root/build/windows/src/pelloxss.scr"
session="$root/scripts/wine-session.sh"

work=$(mktemp -d /tmp/pellox-shots.XXXXXX)
cleanup() {
  PELLOX_WINE_STATE="$work/wine" "$session" stop >/dev/null 2>&1 || true
  rm -rf "$work"
}
trap cleanup EXIT

PELLOX_WINE_STATE="$root/build/windows/wine" "$session" ensure
mkdir -p "$work/wine"
cp -a "$root/build/windows/wine/prefix" "$work/wine/prefix"
mkdir "$work/app"
cp "$scr" "$work/app/"
# PELLOX_SHOTS_CLOCK_FILE: a clock file beside the program, for the captions it holds.
[ -z "${PELLOX_SHOTS_CLOCK_FILE:-}" ] || cp "$PELLOX_SHOTS_CLOCK_FILE" "$work/app/pellox2.xml"
export PELLOX_WINE_STATE="$work/wine" WINEPREFIX="$work/wine/prefix" WINEDEBUG=-all

for dpi in "${dpis[@]}"; do
  "$session" stop
  "$session" ensure
  wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
  wine reg add 'HKLM\System\CurrentControlSet\Hardware Profiles\Current\Software\Fonts' \
    /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
  "$session" stop
  "$session" ensure
  TZ=Asia/Tokyo "$session" exec "$work/app/pelloxss.scr" /c &
  pid=$!
  window=$(timeout 60 xdotool search --sync --onlyvisible --name 'Pellox Screensaver Properties' | head -1)
  sleep 1
  import -window root "$out/screen-$dpi.png"
  eval "$(xdotool getwindowgeometry --shell "$window")"
  convert "$out/screen-$dpi.png" -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$out/dialog-$dpi.png"
  echo "dpi $dpi: dialog ${WIDTH}x${HEIGHT} at ${X},${Y} -> $out/dialog-$dpi.png"
  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
done
