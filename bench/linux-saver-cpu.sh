#!/usr/bin/env bash
# The native pelloxss full screen at 1920x1080 (five antialiased clocks) beside `xclock
# -update 1` and five xclocks, measured in the same run, interleaved. Prints, per case, CPU
# milliseconds per wall second of the program, the X server's share, peak memory and the time
# to the first mapped window (not for the saver: the harness counts no override-redirect
# window, so the saver is measured from 3 s after its start).
#   bench/linux-saver-cpu.sh [SECONDS=30] [REPS=3] [RESULTS_FILE]
# Builds the release preset (no sanitizers) first.
set -euo pipefail
cd "$(dirname "$0")/.."
secs=${1:-30} reps=${2:-3}
results=${3:-$PWD/build/bench/linux-saver-cpu-$(date +%Y%m%d-%H%M%S).txt}
shared=${PELLOX_SHARED_BENCH:-$PWD/../shared/bench}
mkdir -p "$PWD/build/bench" "$(dirname "$results")"
cmake --preset release >/dev/null
cmake --build --preset release --target pelloxss >/dev/null
saver=$PWD/build/release/src/pelloxss

# A configuration of its own: the five clocks, and a runtime folder for the instance lock.
home=$PWD/build/bench/linux-home
mkdir -p "$home/config/pelloxss" "$home/run"
chmod 700 "$home/run"
printf '%s' '<?xml version="1.0"?><serie><value name="LONDON">GMT+00:00</value><value name="NEW YORK">GMT-05:00</value><value name="SAN FRANCISCO">GMT-08:00</value><value name="HONG KONG">GMT+08:00</value><value name="Local Time">GMT+01:00</value></serie>' \
  >"$home/config/pelloxss/pellox2.xml"

cases=$(mktemp)
trap 'rm -f "$cases"' EXIT
cat >"$cases" <<CASES
pelloxss | --no-map -s 3 | env XDG_CONFIG_HOME=$home/config XDG_RUNTIME_DIR=$home/run $saver /s
xclock | | xclock -update 1
xclock_x5 | -w 5 | bash -c 'for i in 1 2 3 4 5; do xclock -update 1 & done; wait'
CASES
"$shared/run-matrix.sh" "$cases" "$reps" "$secs" "$results" >/dev/null
"$shared/clock-cpu.sh" --summarize "$results"
