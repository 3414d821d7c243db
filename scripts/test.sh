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
# windows-release has no tests of its own: it builds the installer that a Windows test runs.
for preset in native windows-release windows; do
  echo "== $preset: configure and build"
  if ! cmake --preset "$preset" >/dev/null || ! cmake --build --preset "$preset"; then
    echo "== $preset: build failed"; status=1; continue
  fi
  [ "$preset" = windows-release ] && continue
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
