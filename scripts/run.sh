#!/usr/bin/env bash
# Builds and starts the program. Until the screen saver exists this shows the time-zone
# catalogue as the settings dialog will load it: the Windows build under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
cmake --preset windows >/dev/null
cmake --build --preset windows --target tzlist >/dev/null

export PELLOX_WINE_STATE="$PWD/build/windows/wine"
trap 'scripts/wine-session.sh stop >/dev/null 2>&1 || true' EXIT
scripts/wine-session.sh exec build/windows/tools/tzlist.exe
