#!/usr/bin/env bash
# The clock player full screen under Wine (its test host, and pelloxss.scr /s, at 1920x1080)
# beside two references
# measured in the same run, interleaved: Wine's floor (an idle Win32 window with a one-second
# timer, ../shared/bench/floor/winidle.c) and `xclock -update 1`. Prints, per case, CPU
# milliseconds per wall second of the whole process tree (wineserver included), peak memory,
# PSS and the time from start to the first mapped window (the host maps its window after the
# player's first frame is drawn), then the player's CPU over the floor.
#   bench/player-cpu.sh [SECONDS=60] [REPS=1] [RESULTS_FILE]
# Needs the windows preset built. Stops the build's Wine session first, so that each case
# starts its own wineserver inside its measured process tree.
set -euo pipefail
cd "$(dirname "$0")/.."
secs=${1:-60} reps=${2:-1}
results=${3:-$PWD/build/bench/player-cpu-$(date +%Y%m%d-%H%M%S).txt}
shared=${PELLOX_SHARED_BENCH:-$PWD/../shared/bench}
build=$PWD/build/windows
host=$build/tests/player_host.exe
floor=$PWD/build/bench/winidle.exe
mkdir -p "$PWD/build/bench" "$(dirname "$results")"
[ -f "$host" ] || { echo "build the windows preset first" >&2; exit 1; }
if [ ! -f "$floor" ] || [ "$shared/floor/winidle.c" -nt "$floor" ]; then
  x86_64-w64-mingw32-gcc -O2 -mwindows -o "$floor" "$shared/floor/winidle.c"
fi

PELLOX_WINE_STATE=$build/wine scripts/wine-session.sh ensure >/dev/null  # the prefix exists
PELLOX_WINE_STATE=$build/wine scripts/wine-session.sh stop >/dev/null
export WINEPREFIX=$build/wine/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="

clocks=$PWD/build/bench/clocks
mkdir -p "$clocks"
printf '%s' '<?xml version="1.0"?><serie><value name="LONDON">GMT+00:00</value><value name="NEW YORK">GMT-05:00</value><value name="SAN FRANCISCO">GMT-08:00</value><value name="HONG KONG">GMT+08:00</value><value name="Local Time">GMT+01:00</value></serie>' \
  >"$clocks/pellox2.xml"
movie="Z:${clocks//\//\\}\\PELLOXSS1.SWF"

# The saver itself: pelloxss.scr /s from a folder that holds the same clock file.
scr=$build/src/pelloxss.scr
[ -f "$scr" ] && cp "$scr" "$clocks/pelloxss.scr"

cases=$(mktemp)
trap 'rm -f "$cases"' EXIT
cat >"$cases" <<CASES
player | -s 5 --min-size 1000x700 | sh -c "exec wine '$host' /movie '$movie' >/dev/null"
saver | -s 5 --min-size 1000x700 | wine '$clocks/pelloxss.scr' /s
wine_floor | -s 5 --min-size 1000x700 | wine '$floor'
xclock | | xclock -update 1
CASES
"$shared/run-matrix.sh" "$cases" "$reps" "$secs" "$results"
echo "results: $results"
python3 - "$results" <<'PY'
import statistics, sys
rows = {}
for line in open(sys.argv[1]):
    p = line.split()
    if p and not line.startswith('#') and p[0] != 'name':
        rows.setdefault(p[0], []).append(p)
med = lambda name, col: statistics.median(float(r[col]) for r in rows[name])
for case in ('player', 'saver'):
    if case in rows and 'wine_floor' in rows:
        over = med(case, 3) - med('wine_floor', 3)
        first = med(case, 1) - med('wine_floor', 1)
        print("%s over Wine's floor: %.2f ms/s CPU (five clocks), first frame %+.0f ms"
              % (case, over, first))
if 'xclock' in rows:
    print("xclock: %.2f ms/s for one clock; five would be %.2f ms/s" % (med('xclock', 3), 5 * med('xclock', 3)))
PY
