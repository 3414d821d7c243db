#!/usr/bin/env bash
# The Debian package as users get it: installed with dpkg, its files where xscreensaver and the
# desktop look for them, and the real xscreensaver daemon, run by an ordinary user (it starts
# no hacks for root) whose ~/.xscreensaver selects only this hack: activated, the hack draws the
# five clocks over the screen; deactivated, it is gone. On a display of its own.
#   xscreensaver_test.sh PACKAGE.deb "FONT-PACKAGE, ..."
# Ends with 77 (skipped) when the package has not been built (the release preset's package
# target) or when not run as root. A package this test installed is removed at the end.
set -uo pipefail
deb=$1 fonts=$2
here=$(cd "$(dirname "$0")/../.." && pwd)
if [ ! -f "$deb" ]; then
  echo "SKIP: $deb not built (cmake --preset release && cmake --build --preset release --target package)"
  exit 77
fi
[ "$(id -u)" -eq 0 ] || { echo "SKIP: installing the package needs root"; exit 77; }
if [ -z "${PELLOX_OWN_DISPLAY:-}" ]; then
  PELLOX_OWN_DISPLAY=1 exec "$here/scripts/xvfb-session.sh" run bash "$0" "$@"
fi
. "$here/tests/support/screens.sh"

user=pellox-xss
work=$(mktemp -d /tmp/pellox-xss.XXXXXX)
chmod 755 "$work"
as_user() { runuser -u "$user" -- env -i HOME="$home" PATH=/usr/bin:/bin DISPLAY="$DISPLAY" "$@"; }
cleanup() {
  [ -n "${PELLOX_SHOTS:-}" ] && cp "$work"/*.png "$PELLOX_SHOTS/" 2>/dev/null
  if [ -n "${home:-}" ]; then
    as_user xscreensaver-command -exit >/dev/null 2>&1
    pkill -KILL -u "$user" 2>/dev/null
    userdel -r "$user" 2>/dev/null
  fi
  [ -n "${installed:-}" ] && dpkg -r pelloxss >/dev/null 2>&1
  rm -rf "$work"
}
trap cleanup EXIT

dpkg-query -W -f='${Status}' pelloxss 2>/dev/null | grep -q 'install ok installed' ||
  installed=1
dpkg -i "$deb" >"$work/dpkg.log" 2>&1 || { cat "$work/dpkg.log"; die "dpkg -i $deb"; }
files=$(dpkg -L pelloxss)
for f in /usr/libexec/xscreensaver/pelloxss /usr/share/xscreensaver/config/pelloxss.xml \
         /usr/share/applications/pelloxss-settings.desktop; do
  grep -qx "$f" <<<"$files" && [ -f "$f" ] && pass "$f installed" || fail "no $f"
done
grep -qx 'Exec=/usr/libexec/xscreensaver/pelloxss /c' /usr/share/applications/pelloxss-settings.desktop &&
  pass "the desktop entry runs the installed pelloxss /c" || fail "the desktop entry's Exec"
depends=$(dpkg-query -W -f='${Depends}' pelloxss)
for p in libx11-6 libcairo2 libgtkmm-3.0-1v5 ${fonts//,/ }; do
  grep -qE "(^|, )$p( |,|$)" <<<"$depends" && pass "depends on $p" ||
    fail "no dependency on $p in: $depends"
done

# The test's own user (one left by an interrupted run is used and removed).
getent passwd "$user" >/dev/null || useradd -m -s /bin/sh "$user" || die "useradd $user"
home=$(getent passwd "$user" | cut -d: -f6)

# The installed settings dialog (its module found where the package put it).
as_user /usr/libexec/xscreensaver/pelloxss /c >"$work/settings.log" 2>&1 &
if eventually 120 xdotool search --onlyvisible --name '^Pellox Screensaver Properties$' >/dev/null; then
  pass "the installed pelloxss /c shows the settings dialog"
else
  fail "no settings dialog from the installed pelloxss /c: $(cat "$work/settings.log")"
fi
# As a session's end does: a signal ends it.
pkill -u "$user" -x pelloxss
eventually 30 eval '! pgrep -u "$user" -x pelloxss >/dev/null' &&
  pass "the settings dialog ends on SIGTERM" || fail "the settings dialog outlives SIGTERM"
pkill -KILL -u "$user" -x pelloxss

# The user's clocks, chosen before.
mkdir -p "$home/.config/pelloxss"
printf '%s' '<?xml version="1.0"?><serie><value name="LONDON">GMT+00:00</value><value name="NEW YORK">GMT-05:00</value><value name="DELHI">GMT+05:30</value><value name="PERTH">GMT+08:00</value><value name="HOME">GMT+01:00</value></serie>' \
  >"$home/.config/pelloxss/pellox2.xml"
chown -R "$user:" "$home/.config"
cat >"$home/.xscreensaver" <<'CONF'
timeout:	0:30:00
lock:		False
fade:		False
unfade:		False
splash:		False
dpmsEnabled:	False
mode:		one
selected:	0
programs:	"Pellox World Clock"	pelloxss -root	\n
CONF
chown "$user:" "$home/.xscreensaver"
as_user xscreensaver -no-splash -verbose >"$work/xscreensaver.log" 2>&1 &
eventually 60 as_user xscreensaver-command -time >/dev/null 2>&1 || die "the xscreensaver daemon"
as_user xscreensaver-command -activate >/dev/null || fail "xscreensaver-command -activate"
hack() { pgrep -u "$user" -x pelloxss >/dev/null; }
shot="$work/xscreensaver.png"
drawn() { import -window root "$shot" 2>/dev/null && clocks_on "$shot" "$(xdpyinfo | awk '/dimensions:/ { print $2 }')+0+0"; }
if eventually 120 hack && eventually 60 drawn >/dev/null; then
  pass "activated, the hack draws the clocks: $(drawn)"
else
  fail "no clocks after -activate: $(hack && drawn); $(tail -n 5 "$work/xscreensaver.log")"
fi
as_user xscreensaver-command -deactivate >/dev/null || fail "xscreensaver-command -deactivate"
eventually 60 eval '! hack' && pass "deactivated, the hack has ended" ||
  fail "the hack still runs after -deactivate: $(tail -n 5 "$work/xscreensaver.log")"
finish
