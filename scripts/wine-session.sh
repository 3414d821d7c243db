#!/usr/bin/env bash
# One Wine session per build: the build's own prefix (fonts set up), a persistent wineserver
# whose services write to /dev/null, and a private Xvfb when no display is set.
#   wine-session.sh ensure        start what is missing (idempotent, safe in parallel)
#   wine-session.sh exec PROG...  ensure, then run PROG under Wine
#   wine-session.sh stop          stop the wineserver and the Xvfb this session started
#   wine-session.sh display       print the X display the session's programs use
# PELLOX_WINE_STATE names the session's folder (the prefix lives in it).
set -euo pipefail

state=${PELLOX_WINE_STATE:?PELLOX_WINE_STATE must name the Wine session folder}
mkdir -p "$state"
state=$(cd "$state" && pwd)
export WINEPREFIX="$state/prefix"
export WINEDEBUG=-all
# No Mono or Gecko installer dialogs while the prefix is made.
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"

choose_display() {
  if [ -n "${DISPLAY:-}" ]; then return; fi
  DISPLAY=$(PELLOX_XVFB_STATE="$state/xvfb" "$(dirname "$0")/xvfb-session.sh" start 9>&-)
  export DISPLAY
}

wineserver_alive() {
  # 'wineserver -k 0' only signals a running server; it fails when there is none.
  wineserver -k0 >/dev/null 2>&1
}

init_prefix() {
  wineboot --init </dev/null >/dev/null 2>&1 9>&- || true
  local fonts="$WINEPREFIX/drive_c/windows/Fonts"
  mkdir -p "$fonts"
  cp -n /usr/share/wine/fonts/* "$fonts/" 2>/dev/null || true
  # GDI+ looks for Arial; Debian's Wine has none.
  wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v Arial /t REG_SZ \
    /d 'Liberation Sans' /f </dev/null >/dev/null 2>&1 9>&-
  # Uniscribe's fallback fonts (edit controls draw with them), by OpenType script tag: Han,
  # kana and Hangul, Thai and Devanagari from the Debian fonts Wine sees through fontconfig.
  local tag face
  for tag in hani:'Noto Sans CJK JP' kana:'Noto Sans CJK JP' hang:'Noto Sans CJK KR' \
             thai:Loma deva:'Lohit Devanagari'; do
    face=${tag#*:} tag=${tag%%:*}
    wine reg add 'HKCU\Software\Wine\Uniscribe\Fallback' /f /t REG_SZ /d "$face" \
      /v "$(printf '%02x%02x%02x%02x' "'${tag:3:1}" "'${tag:2:1}" "'${tag:1:1}" "'${tag:0:1}")" \
      </dev/null >/dev/null 2>&1 9>&-
  done
}

ensure() {
  exec 9>"$state/lock"
  flock 9
  choose_display
  mkdir -p "$WINEPREFIX"
  if [ ! -f "$WINEPREFIX/.pellox-ready-2" ]; then
    # A new prefix is made under a server of its own, which saves the registry when it exits:
    # tests copy the prefix, and a persistent server may not have written it to disk yet.
    wineserver -k >/dev/null 2>&1 || true
    init_prefix
    wineserver -w </dev/null >/dev/null 2>&1 9>&- || true
    touch "$WINEPREFIX/.pellox-ready-2"
  fi
  if ! wineserver_alive; then
    setsid wineserver -p </dev/null >/dev/null 2>&1 9>&- &
    for _ in $(seq 100); do wineserver_alive && break; sleep 0.05; done
    # Start Wine's background services now, writing to /dev/null: started later by a
    # program, they would inherit its output and hold the caller's pipe open.
    wineboot </dev/null >/dev/null 2>&1 9>&- || true
  fi
  exec 9>&-
}

stop() {
  wineserver -k </dev/null >/dev/null 2>&1 || true
  wineserver -w </dev/null >/dev/null 2>&1 || true
  PELLOX_XVFB_STATE="$state/xvfb" "$(dirname "$0")/xvfb-session.sh" stop
}

case "${1:-}" in
  ensure) ensure ;;
  exec) shift; ensure; exec wine "$@" ;;
  stop) stop ;;
  display) choose_display; echo "$DISPLAY" ;;
  *) echo "usage: $0 ensure|exec PROGRAM [ARGS...]|stop|display" >&2; exit 2 ;;
esac
