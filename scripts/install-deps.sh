#!/usr/bin/env bash
# Installs every Debian package that the build and the tests need.
# Idempotent and quiet when everything is already there; runs without a terminal.
set -euo pipefail

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
  fonts-wine fonts-liberation
  # Linux port libraries
  libx11-dev libxrandr-dev libxinerama-dev libxtst-dev libicu-dev libxml2-dev
  libcairo2-dev libpango1.0-dev libglib2.0-dev libgtkmm-3.0-dev
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -ne 0 ]; then SUDO=sudo; else SUDO=; fi
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq </dev/null
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" </dev/null >/dev/null
