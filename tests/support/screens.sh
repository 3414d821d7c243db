# Shell helpers of the tests that drive whole programs: results, waits and the clocks on a
# screenshot. Sourced.

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
pass() { echo "ok: $*"; }
die() { echo "FAIL: $*"; exit 1; }
finish() {
  [ "$failures" -eq 0 ] || { echo "$failures failures"; exit 1; }
  echo "all passed"
}

# Waits until the command succeeds, for up to $1 seconds (a loaded machine is slow; nothing is
# timed).
eventually() {
  local seconds=$1
  shift
  local end=$((SECONDS + seconds))
  until "$@"; do
    [ $SECONDS -ge $end ] && return 1
    sleep 0.5
  done
}

# faces SHOT.png WxH+X+Y: the clock faces inside that part of the screenshot, one line each,
# "WxH+X+Y" in the shot's coordinates: the regions of the faces' fill colour large enough to
# be a face (the hands and ticks drawn over a face leave its fill in one piece).
faces() {
  convert "$1" -crop "$2" +repage -fill black +opaque '#161c2a' -fill white -opaque '#161c2a' \
    -define connected-components:verbose=true -connected-components 8 null: 2>/dev/null |
    awk -v origin="$2" '
      BEGIN { split(origin, o, "+") }
      $NF ~ /255,255,255|gray\(255\)/ && $4 >= 400 {
        split($2, g, "[x+]"); print g[1] "x" g[2] "+" g[3] + o[2] "+" g[4] + o[3]
      }'
}

# clocks_on SHOT.png WxH+X+Y: that part of the screenshot shows five clock faces of one size,
# laid out about its centre.
clocks_on() {
  faces "$1" "$2" | awk -v area="$2" '
    { split($0, g, "[x+]"); n++; w[n] = g[1]
      l = (n == 1 || g[3] < l) ? g[3] : l; t = (n == 1 || g[4] < t) ? g[4] : t
      r = (n == 1 || g[3] + g[1] > r) ? g[3] + g[1] : r; b = (n == 1 || g[4] + g[2] > b) ? g[4] + g[2] : b }
    END {
      split(area, a, "[x+]")
      same = 1; for (i = 2; i <= n; i++) if (w[i] - w[1] > 3 || w[1] - w[i] > 3) same = 0
      dx = (l + r) / 2 - (a[3] + a[1] / 2); dy = (t + b) / 2 - (a[4] + a[2] / 2)
      centred = dx * dx < (0.08 * a[1]) ^ 2 && dy * dy < (0.08 * a[2]) ^ 2
      printf "%s: %d faces, %s, centre off by %+d,%+d\n", area, n,
             same ? "one size" : "different sizes", dx, dy
      exit !(n == 5 && same && centred)
    }'
}
