#!/usr/bin/env bash
# A saver on side-by-side monitors. Xephyr, nested in a display of the test's own, gives two
# heads of 960x540 (Xinerama), then three, the third 800x600. The saver started full screen
# covers every head with its window, and each head shows five clocks about its centre.
#   heads_test.sh linux PELLOXSS                      the Linux program, pelloxss /s, then as
#                                                     a hack drawing into the root (-root)
#   heads_test.sh wine BUILD_WINE_STATE PELLOXSS.scr  the Windows program under Wine, /s, in a
#                                                     copy of the build's prefix
set -uo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
if [ -z "${PELLOX_OWN_DISPLAY:-}" ]; then
  PELLOX_OWN_DISPLAY=1 exec "$here/scripts/xvfb-session.sh" run bash "$0" "$@"
fi
. "$here/tests/support/screens.sh"
platform=$1
outer=$DISPLAY
work=$(mktemp -d /tmp/pellox-heads.XXXXXX)
session="$here/scripts/wine-session.sh"
cleanup() {
  [ -n "${PELLOX_SHOTS:-}" ] && cp "$work"/*.png "$PELLOX_SHOTS/" 2>/dev/null
  stop_saver
  [ -n "${xephyr:-}" ] && kill "$xephyr" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

clocks='<?xml version="1.0"?><serie><value name="LONDON">GMT+00:00</value><value name="NEW YORK">GMT-05:00</value><value name="DELHI">GMT+05:30</value><value name="PERTH">GMT+08:00</value><value name="HOME">GMT+01:00</value></serie>'
if [ "$platform" = linux ]; then
  program=$2
  mkdir -p "$work/config/pelloxss" "$work/home"
  mkdir -m 700 "$work/run"
  printf '%s' "$clocks" >"$work/config/pelloxss/pellox2.xml"
  modes=(/s -root)
  start_saver() {
    HOME="$work/home" XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/run" \
      "$program" "$1" </dev/null >"$work/saver.log" 2>&1 &
    saver=$!
  }
  stop_saver() { [ -n "${saver:-}" ] && kill "$saver" 2>/dev/null && wait "$saver" 2>/dev/null; }
else
  export PELLOX_WINE_STATE="$work/wine"
  PELLOX_WINE_STATE="$2" "$session" ensure || die "the build's Wine session"
  mkdir -p "$work/wine" "$work/program"
  cp -a "$2/prefix" "$work/wine/prefix"
  cp "$3" "$work/program/"
  printf '%s' "$clocks" >"$work/program/pellox2.xml"
  modes=(/s)
  # Wine lists Xinerama's heads as monitors only without RandR.
  "$session" exec reg add 'HKCU\Software\Wine\X11 Driver' /v UseXRandR /t REG_SZ /d N /f \
    </dev/null >/dev/null 2>&1 || die "UseXRandR=N"
  "$session" stop
  scr="Z:${work//\//\\}\\program\\$(basename "$3")"
  start_saver() {
    "$session" exec "$scr" "$1" </dev/null >"$work/saver.log" 2>&1 &
    saver=$!
  }
  stop_saver() { "$session" stop >/dev/null 2>&1; saver=; }
fi

# A window of the program at 0,0 as large as the root, mapped.
covering_window() {
  local size id
  size=$(xdpyinfo | awk '/dimensions:/ { print $2 }')
  for id in $(xwininfo -root -children | awk '/^     0x/ { print $1 }'); do
    xwininfo -id "$id" 2>/dev/null |
      awk -v size="$size" '/Absolute upper-left X:/ { x = $4 } /Absolute upper-left Y:/ { y = $4 }
                           /^  Width:/ { w = $2 } /^  Height:/ { h = $2 } /Map State:/ { m = $3 }
                           END { exit !(x == 0 && y == 0 && w "x" h == size && m == "IsViewable") }' &&
      return 0
  done
  return 1
}
heads() { xdpyinfo -ext XINERAMA | awk '/head #/ { sub(/ @ /, "+"); sub(/,/, "+"); print $3 }'; }
every_head_has_clocks() {
  import -window root "$shot" 2>/dev/null || return 1
  local head
  for head in $(heads); do clocks_on "$shot" "$head" || return 1; done
}

for layout in "960x540 960x540" "960x540 960x540 800x600"; do
  screens=() n=0
  for s in $layout; do screens+=(-screen "$s"); n=$((n + 1)); done
  rm -f "$work/display"
  # -noreset: without it the server starts over whenever its last client leaves, and a client
  # connecting just then (the saver, after the head query) is refused.
  DISPLAY=$outer Xephyr -displayfd 3 "${screens[@]}" +xinerama -nolisten tcp -noreset \
    3>"$work/display" \
    </dev/null >"$work/xephyr.log" 2>&1 &
  xephyr=$!
  eventually 30 grep -q '[0-9]' "$work/display" 2>/dev/null || die "Xephyr did not start: $(cat "$work/xephyr.log")"
  export DISPLAY=":$(tr -d '[:space:]' <"$work/display")"
  [ "$(heads | wc -l)" -eq "$n" ] || die "Xephyr gave heads $(heads | tr '\n' ' ') for $layout"
  for mode in "${modes[@]}"; do
    shot="$work/heads-$platform$([ "$mode" = -root ] && echo -root)-$n.png"
    start_saver "$mode"
    # -root draws into the root window itself.
    if [ "$mode" = -root ]; then :
    elif eventually 120 covering_window; then
      pass "$n heads ($(heads | tr '\n' ' ')), $mode: one window covers the $(xdpyinfo | awk '/dimensions:/ { print $2 }') root"
    else
      fail "$n heads, $mode: no window covers the root"
    fi
    if eventually 120 every_head_has_clocks >/dev/null; then
      pass "$n heads, $mode: each shows its clocks"; every_head_has_clocks | sed 's/^/    /'
    else
      fail "$n heads, $mode: not every head shows five clocks:"
      every_head_has_clocks | sed 's/^/    /'
      cat "$work/saver.log"
    fi
    stop_saver
  done
  kill "$xephyr"; wait "$xephyr" 2>/dev/null; xephyr=
done
finish
