#!/usr/bin/env bash
# Runs the settings dialog suite in a private copy of the build's Wine prefix.
#   run-dialog-suite.sh BUILD_WINE_STATE SUITE.exe PELLOXSS.scr [gtest options]
# The suite may empty the per-user store, hide the time-zone catalogue and change the web
# handler there without touching the build's prefix. A program folder that even root cannot
# write (chattr +i) is prepared for the failure test when the file system allows it.
set -uo pipefail
build_state=$1 suite=$2 scr=$3
shift 3
session="$(cd "$(dirname "$0")/../.." && pwd)/scripts/wine-session.sh"

work=$(mktemp -d /tmp/pellox-dialog.XXXXXX)
cleanup() {
  chattr -i "$work/readonly" 2>/dev/null
  PELLOX_WINE_STATE="$work/wine" "$session" stop >/dev/null 2>&1
  rm -rf "$work"
}
trap cleanup EXIT

to_windows() { printf 'Z:%s' "${1//\//\\}"; }

PELLOX_WINE_STATE="$build_state" "$session" ensure
mkdir -p "$work/wine"
cp -a "$build_state/prefix" "$work/wine/prefix"

mkdir "$work/readonly"
cp "$scr" "$work/readonly/"
printf 'old clock file' >"$work/readonly/pellox2.xml"
if chattr +i "$work/readonly" 2>/dev/null; then
  export PELLOX_READONLY_FOLDER
  PELLOX_READONLY_FOLDER=$(to_windows "$work/readonly")
fi
export PELLOX_SCR
PELLOX_SCR=$(to_windows "$scr")

# The program's local zone follows TZ under Wine: the Local row's default is Tokyo.
TZ=Asia/Tokyo PELLOX_WINE_STATE="$work/wine" "$session" exec "$suite" "$@"
