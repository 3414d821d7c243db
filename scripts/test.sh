#!/usr/bin/env bash
# Installs what is missing, configures and builds the presets, runs every test (native under
# the sanitizers, Windows under Wine) and ends non-zero when anything fails.
set -uo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh || exit 1

# Every test runs on one private X display when none is set.
if [ -z "${DISPLAY:-}" ]; then exec scripts/xvfb-session.sh run bash scripts/test.sh "$@"; fi
trap 'PELLOX_WINE_STATE="$PWD/build/windows/wine" scripts/wine-session.sh stop >/dev/null 2>&1' EXIT

passed=0 failed=0 status=0
# release and windows-release have no tests of their own: they build the Debian package and the
# installer that a native and a Windows test install.
for preset in release native windows-release windows; do
  echo "== $preset: configure and build"
  if ! cmake --preset "$preset" >/dev/null || ! cmake --build --preset "$preset"; then
    echo "== $preset: build failed"; status=1; continue
  fi
  if [ "$preset" = release ] && ! cmake --build --preset release --target package; then
    echo "== release: package failed"; status=1
  fi
  case "$preset" in release | windows-release) continue ;; esac
  echo "== $preset: tests"
  log=$(mktemp)
  ctest --preset "$preset" 2>&1 | tee "$log"
  [ "${PIPESTATUS[0]}" -eq 0 ] || status=1
  # "N% tests passed, F tests failed out of T"
  line=$(grep -E 'tests passed, [0-9]+ tests? failed out of' "$log" | tail -n 1)
  if [ -n "$line" ]; then
    f=$(sed -E 's/.* ([0-9]+) tests? failed out of ([0-9]+).*/\1/' <<<"$line")
    t=$(sed -E 's/.* failed out of ([0-9]+).*/\1/' <<<"$line")
    passed=$((passed + t - f)); failed=$((failed + f))
  else
    status=1
  fi
  rm -f "$log"
done

echo "all: $passed passed, $failed failed"
exit $status
