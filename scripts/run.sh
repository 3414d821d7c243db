#!/usr/bin/env bash
# Builds and starts the screen saver.
#   scripts/run.sh [ARGS]             the native pelloxss (default "/s"; "/c" opens the settings,
#                                     "/p ID" draws into window ID, "-window-id ID" as xscreensaver)
#   scripts/run.sh --windows [ARGS]   pelloxss.scr of the Windows build under Wine
# Without DISPLAY the program runs on a private Xvfb and a screenshot is saved to
# build/run-shot.png after a few seconds.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh

# Without a display: on a private one, with a screenshot after a few seconds.
if [ -z "${DISPLAY:-}" ]; then
  exec scripts/xvfb-session.sh run env PELLOX_RUN_HEADLESS=1 bash scripts/run.sh "$@"
fi
headless=${PELLOX_RUN_HEADLESS:-}

windows=false
if [ "${1:-}" = "--windows" ]; then windows=true; shift; fi
[ $# -eq 0 ] && set -- /s

if $windows; then trap 'scripts/wine-session.sh stop >/dev/null 2>&1 || true' EXIT; fi

if $windows; then
  cmake --preset windows >/dev/null
  cmake --build --preset windows --target pelloxss >/dev/null
  export PELLOX_WINE_STATE="$PWD/build/windows/wine"
  program=(scripts/wine-session.sh exec build/windows/src/pelloxss.scr "$@")
else
  cmake --preset release >/dev/null
  cmake --build --preset release --target pelloxss >/dev/null
  program=(build/release/src/pelloxss "$@")
fi

if [ -n "$headless" ]; then
  "${program[@]}" &
  pid=$!
  sleep 5
  import -window root build/run-shot.png && echo "screenshot: build/run-shot.png"
  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
else
  "${program[@]}"
fi
