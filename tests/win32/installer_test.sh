#!/usr/bin/env bash
# The Windows installer as a user runs it, in a private copy of the build's Wine prefix on a
# private display: silent install, the files and registry values it writes, the installed saver
# (/s covers the screen and ends on the pointer's moves; /c opens the settings), then silent
# uninstall: what the install added is gone, the screen saver chosen before is back, and the
# user's settings are kept.
#   installer_test.sh BUILD_WINE_STATE SETUP.exe
# Ends with 77 (skipped) when SETUP.exe has not been built (the windows-release preset).
set -uo pipefail
build_state=$1 setup=$2
if [ ! -f "$setup" ]; then
  echo "SKIP: $setup not built (cmake --preset windows-release && cmake --build --preset windows-release)"
  exit 77
fi
session="$(cd "$(dirname "$0")/../.." && pwd)/scripts/wine-session.sh"

work=$(mktemp -d /tmp/pellox-installer.XXXXXX)
export PELLOX_WINE_STATE="$work/wine"
cleanup() {
  # PELLOX_SHOTS=DIR keeps the screenshots of the saver and the settings dialog.
  [ -n "${PELLOX_SHOTS:-}" ] && cp "$work"/*.png "$PELLOX_SHOTS/" 2>/dev/null
  [ -n "${saver:-}" ] && kill "$saver" 2>/dev/null
  [ -n "${dialog:-}" ] && kill "$dialog" 2>/dev/null
  "$session" stop >/dev/null 2>&1
  rm -rf "$work"
}
trap cleanup EXIT

. "$(dirname "$0")/../support/screens.sh"

# Wine's menu builder would write desktop entries into the host's home for the Start-menu link.
export WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder.exe="

PELLOX_WINE_STATE="$build_state" "$session" ensure || die "the build's Wine session"
mkdir -p "$work/wine"
cp -a "$build_state/prefix" "$work/wine/prefix"
# A display of this test's own: the pointer moves of the saver disturb no other test.
DISPLAY=$(env -u DISPLAY "$session" display) || die "a private display"
export DISPLAY
"$session" ensure || die "the private Wine session"

wine() { "$session" exec "$@" </dev/null 2>/dev/null; }
# reg_value KEY NAME: prints the value's data (REG_SZ or REG_DWORD as reg.exe shows it).
reg_value() {
  wine reg query "$1" /v "$2" | tr -d '\r' |
    awk -v name="$2" '$1 == name { sub(/^[ \t]*[^ \t]+[ \t]+[^ \t]+[ \t]+/, ""); print; f=1 }
                      END { exit !f }'
}
reg_key_exists() { wine reg query "$1" >/dev/null; }

desktop='HKCU\Control Panel\Desktop'
uninstall_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\PelloxScreensaver'
store='HKCU\Software\VB and VBA Program Settings\PELLOXSS\Config'

# The user's state before: another screen saver, switched off, and clocks chosen earlier.
wine reg add "$desktop" /v SCRNSAVE.EXE /t REG_SZ /d 'C:\windows\system32\before.scr' /f >/dev/null
wine reg add "$desktop" /v ScreenSaveActive /t REG_SZ /d 0 /f >/dev/null
wine reg add "$store" /v Zone0 /t REG_SZ /d 7 /f >/dev/null

# Install, silently.
wine "$(printf 'Z:%s' "${setup//\//\\}")" /S || fail "the installer's exit status"

location=$(reg_value "$uninstall_key" InstallLocation) || die "no InstallLocation in $uninstall_key"
case "$location" in
  *'\AppData\Local\Programs\Pellox') pass "installed in $location" ;;
  *) fail "installed in '$location', not in the user's local programs folder" ;;
esac
folder=$(wine winepath -u "$location" | tr -d '\r')
[ -f "$folder/pelloxss.scr" ] && pass "pelloxss.scr installed" || fail "no $folder/pelloxss.scr"
[ -f "$folder/uninstall.exe" ] && pass "uninstall.exe installed" || fail "no $folder/uninstall.exe"
cmp -s "$folder/pelloxss.scr" "$(dirname "$setup")/src/pelloxss.scr" &&
  pass "the installed program is the built one" || fail "the installed program differs"

saver_path=$(reg_value "$desktop" SCRNSAVE.EXE)
saver_unix=$(wine winepath -u "$saver_path" | tr -d '\r')
if [ "$saver_path" != 'C:\windows\system32\before.scr' ] && [ -f "$saver_unix" ] &&
   cmp -s "$saver_unix" "$folder/pelloxss.scr"; then
  pass "SCRNSAVE.EXE names the installed program ($saver_path)"
else
  fail "SCRNSAVE.EXE is '$saver_path'"
fi
[ "$(reg_value "$desktop" ScreenSaveActive)" = 1 ] && pass "ScreenSaveActive is 1" ||
  fail "ScreenSaveActive is '$(reg_value "$desktop" ScreenSaveActive)'"

expect_value() {
  local got
  got=$(reg_value "$uninstall_key" "$1")
  [ "$got" = "$2" ] && pass "Uninstall $1 = $2" || fail "Uninstall $1 is '$got', not '$2'"
}
expect_value DisplayName 'Pellox Screensaver'
expect_value DisplayVersion 2.0.0
expect_value Publisher Ovanta
expect_value UninstallString "\"$location\\uninstall.exe\""
expect_value NoModify 0x1
expect_value NoRepair 0x1

programs=$(wine cmd /c 'echo %APPDATA%' | tr -d '\r')'\Microsoft\Windows\Start Menu\Programs'
link=$(wine winepath -u "$programs\\Pellox Screensaver Settings.lnk" | tr -d '\r')
# The link's target and arguments, as its ANSI and UTF-16 strings show them.
link_text=$([ -f "$link" ] && { strings -a -n 2 "$link"; strings -a -n 2 -el "$link"; })
if grep -qx '/c' <<<"$link_text" && grep -qiF 'Pellox\pelloxss.scr' <<<"$link_text"; then
  pass "Start-menu link to the installed pelloxss.scr /c"
else
  fail "no Start-menu link to pelloxss.scr /c at $link"
fi

# The installed saver, started as Windows starts it (SCRNSAVE.EXE /s): it covers the screen with the clocks and
# ends on the pointer's moves.
size=$(xwininfo -root | awk '/^  Width:/ { w = $2 } /^  Height:/ { h = $2 } END { print w "x" h }')
covering_window() {
  local id
  for id in $(xwininfo -root -children | awk '/^     0x/ { print $1 }'); do
    xwininfo -id "$id" 2>/dev/null |
      awk -v size="$size" '/Absolute upper-left X:/ { x = $4 } /Absolute upper-left Y:/ { y = $4 }
                           /^  Width:/ { w = $2 } /^  Height:/ { h = $2 }
                           /Map State:/ { m = $3 }
                           END { exit !(x == 0 && y == 0 && w "x" h == size && m == "IsViewable") }' &&
      return 0
  done
  return 1
}
drawn() {
  import -window root "$work/saver.png" 2>/dev/null &&
    [ "$(convert "$work/saver.png" -format %k info: 2>/dev/null)" -ge 8 ]
}
"$session" exec "$saver_path" /s </dev/null >/dev/null 2>&1 &
saver=$!
if eventually 120 covering_window && eventually 60 drawn; then
  pass "the installed saver covers the $size screen and draws"
else
  fail "the installed saver does not cover the $size screen with its clocks"
fi
moved=0
ended() {
  kill -0 "$saver" 2>/dev/null || return 0
  moved=$((moved + 1))
  xdotool mousemove $((100 + moved * 37 % 900)) $((100 + moved * 53 % 700))
  return 1
}
if eventually 120 ended; then
  pass "the installed saver ended on the pointer's moves"
  wait "$saver"
else
  fail "the installed saver still runs after $moved pointer moves"
fi
saver=

# The settings, as the Start-menu link starts them.
"$session" exec "$location\\pelloxss.scr" /c </dev/null >/dev/null 2>&1 &
dialog=$!
if eventually 120 xdotool search --onlyvisible --name '^Pellox Screensaver Properties$' >/dev/null; then
  pass "the installed program's /c shows its settings dialog"
  import -window root "$work/settings.png" 2>/dev/null
else
  fail "no settings dialog from the installed program's /c"
fi
kill "$dialog" 2>/dev/null
wait "$dialog" 2>/dev/null
dialog=

# A clock file the user saved beside the program stays with the folder.
printf '<clocks/>' >"$folder/pellox2.xml"

# Uninstall, silently, as the Uninstall entry names it. The uninstaller goes on in a copy of
# itself after the program started here has ended; its last step removes uninstall.exe.
wine "$location\\uninstall.exe" /S
gone() { [ ! -e "$folder/uninstall.exe" ]; }
eventually 120 gone || fail "uninstall.exe still there"
[ ! -e "$folder/pelloxss.scr" ] && pass "pelloxss.scr removed" || fail "pelloxss.scr still there"
[ -f "$folder/pellox2.xml" ] && pass "the user's clock file kept" || fail "the user's clock file removed"
[ ! -e "$link" ] && pass "Start-menu link removed" || fail "Start-menu link still there"
! reg_key_exists "$uninstall_key" && pass "Uninstall key removed" || fail "Uninstall key still there"
[ "$(reg_value "$desktop" SCRNSAVE.EXE)" = 'C:\windows\system32\before.scr' ] &&
  pass "the screen saver chosen before is back" ||
  fail "SCRNSAVE.EXE is '$(reg_value "$desktop" SCRNSAVE.EXE)' after the uninstall"
[ "$(reg_value "$desktop" ScreenSaveActive)" = 0 ] && pass "ScreenSaveActive is 0 again" ||
  fail "ScreenSaveActive is '$(reg_value "$desktop" ScreenSaveActive)' after the uninstall"
[ "$(reg_value "$store" Zone0)" = 7 ] && pass "the per-user store kept" ||
  fail "the per-user store lost Zone0"

# With the clock file gone too, nothing of the install is left.
rm "$folder/pellox2.xml"
wine "$(printf 'Z:%s' "${setup//\//\\}")" /S || fail "the second installer's exit status"
wine "$location\\uninstall.exe" /S
eventually 120 gone || fail "uninstall.exe still there after the second uninstall"
eventually 30 test ! -e "$folder" && pass "the program's folder removed" ||
  fail "the program's folder left: $(ls -A "$folder" 2>&1)"

finish
