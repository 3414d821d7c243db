#!/usr/bin/env bash
# CPU and memory of a second of the savers at 1920x1080, in one interleaved run beside their
# references (bench/saver-cpu.cases): the native pelloxss /s (release preset), one and five
# `xclock -update 1`, the native floor (an X client that wakes once a second), the Wine floor
# (a Win32 window with a one-second timer) and pelloxss.scr /s under Wine. Prints the median
# table of ../shared/bench/run-matrix.sh; compare figures of one run only.
#   bench/saver-cpu.sh [REPS=3] [SECONDS=30] [RESULTS_FILE]
# Builds the release preset; needs the windows preset built (for pelloxss.scr and its prefix).
# Stops the build's Wine session, so that each Wine case starts its own wineserver inside its
# measured process tree.
set -euo pipefail
cd "$(dirname "$0")/.."
reps=${1:-3} secs=${2:-30}
export BENCH=$PWD/build/bench
results=${3:-$BENCH/saver-cpu-$(date +%Y%m%d-%H%M%S).txt}
shared=${PELLOX_SHARED_BENCH:-$PWD/../shared/bench}
scr=$PWD/build/windows/src/pelloxss.scr
[ -f "$scr" ] || { echo "build the windows preset first" >&2; exit 1; }
mkdir -p "$BENCH/home/config/pelloxss" "$BENCH/home/run" "$BENCH/scr" "$(dirname "$results")"
chmod 700 "$BENCH/home/run"

nice cmake --preset release >/dev/null
nice cmake --build --preset release --target pelloxss >/dev/null
export PELLOXSS=$PWD/build/release/src/pelloxss
gcc -O2 -o "$BENCH/xidle" "$shared/floor/xidle.c" -lX11
x86_64-w64-mingw32-gcc -O2 -mwindows -o "$BENCH/winidle.exe" "$shared/floor/winidle.c"

# The same five clocks for both savers.
clocks='<?xml version="1.0"?><serie><value name="LONDON">GMT+00:00</value><value name="NEW YORK">GMT-05:00</value><value name="SAN FRANCISCO">GMT-08:00</value><value name="HONG KONG">GMT+08:00</value><value name="Local Time">GMT+01:00</value></serie>'
printf '%s' "$clocks" >"$BENCH/home/config/pelloxss/pellox2.xml"
printf '%s' "$clocks" >"$BENCH/scr/pellox2.xml"
cp "$scr" "$BENCH/scr/pelloxss.scr"

PELLOX_WINE_STATE=$PWD/build/windows/wine scripts/wine-session.sh ensure >/dev/null
PELLOX_WINE_STATE=$PWD/build/windows/wine scripts/wine-session.sh stop >/dev/null
export WINEPREFIX=$PWD/build/windows/wine/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="

"$shared/run-matrix.sh" bench/saver-cpu.cases "$reps" "$secs" "$results"
echo "results: $results"
