#!/usr/bin/env bash
# Builds and starts the screen saver: pelloxss.scr /s under Wine, full screen on $DISPLAY until
# a key or the pointer ends it. Without a display it runs on a private Xvfb, saves a
# screenshot and prints the PNG's path.
#   scripts/run.sh [ARGUMENTS]    (default /s; /c opens the settings dialog)
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
cmake --preset windows >/dev/null
cmake --build --preset windows --target pelloxss >/dev/null

scr=$PWD/build/windows/src/platform/win32/app/pelloxss.scr
export PELLOX_WINE_STATE="$PWD/build/windows/wine"
trap 'scripts/wine-session.sh stop >/dev/null 2>&1 || true' EXIT
arguments=("${@:-/s}")

if [ -n "${DISPLAY:-}" ]; then
  scripts/wine-session.sh exec "$scr" "${arguments[@]}"
  exit 0
fi

scripts/wine-session.sh ensure
DISPLAY=$(scripts/wine-session.sh display)
export DISPLAY
scripts/wine-session.sh exec "$scr" "${arguments[@]}" >/dev/null 2>&1 &
sleep 6
mkdir -p build/run
shot=$PWD/build/run/pelloxss.png
import -window root "$shot"
echo "no display: ran on a private Xvfb; screenshot: $shot"
