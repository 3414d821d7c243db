#!/usr/bin/env bash
# Installs every Debian package that the build and the tests need.
# Idempotent and quiet when everything is already there; runs without a terminal.
set -euo pipefail

# Fonts that cover the captions' scripts: the Linux program's (a dependency of its package), which
# Wine sees too through fontconfig, and emoji in outline for GDI under Wine.
mapfile -t FONT_PACKAGES < <(grep -v '^#' "$(dirname "$0")/../resources/font-packages")
FONT_PACKAGES+=(fonts-symbola)
# UTF-8 locales the tests run under.
LOCALES=(es_ES ru_RU ja_JP tr_TR ar_EG th_TH en_US)

packages=(
  # native toolchain and test framework
  g++ cmake ninja-build pkg-config libgtest-dev googletest
  clang libclang-rt-14-dev
  # Windows cross build and its runtime
  g++-mingw-w64-x86-64 wine wine64
  # the Windows installer; the Debian package (dpkg-shlibdeps finds its dependencies)
  nsis dpkg-dev
  # the real screen-saver daemon and a nested X server with side-by-side heads
  xscreensaver xserver-xephyr
  # displays, screenshots, input
  xvfb xdotool imagemagick x11-apps x11-utils
  fonts-wine
  # the fonts for captions in every script and the locales the tests use
  "${FONT_PACKAGES[@]}" locales
  # Linux port libraries
  libx11-dev libxrandr-dev libxinerama-dev libxrender-dev libxtst-dev libicu-dev libxml2-dev
  libcairo2-dev libpango1.0-dev libglib2.0-dev libgtkmm-3.0-dev
)

# Generates the missing locales (after the locales package is there).
generate_locales() {
  local wanted=() l
  for l in "${LOCALES[@]}"; do
    locale -a 2>/dev/null | grep -qix "$l.utf-\?8" || wanted+=("$l")
  done
  [ ${#wanted[@]} -eq 0 ] && return 0
  for l in "${wanted[@]}"; do
    grep -q "^$l.UTF-8 UTF-8" /etc/locale.gen ||
      $SUDO sed -i "s/^# *\($l.UTF-8 UTF-8\)/\1/" /etc/locale.gen
    grep -q "^$l.UTF-8 UTF-8" /etc/locale.gen || echo "$l.UTF-8 UTF-8" | $SUDO tee -a /etc/locale.gen >/dev/null
  done
  $SUDO locale-gen >/dev/null
}

if [ "$(id -u)" -ne 0 ]; then SUDO=sudo; else SUDO=; fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
if [ ${#missing[@]} -eq 0 ]; then generate_locales; exit 0; fi

echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq </dev/null
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" </dev/null >/dev/null
generate_locales
