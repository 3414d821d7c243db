#!/usr/bin/env bash
# Draws the program icon (a clock face: navy dial, amber rim, ivory hands) at 16, 32, 48 and
# 256 pixels into pelloxss.ico. Needs ImageMagick; the .ico is checked in.
set -euo pipefail
cd "$(dirname "$0")"
tmp=$(mktemp -d); trap 'rm -rf "$tmp"' EXIT
for s in 16 32 48 256; do
  rim=$(( s / 16 > 0 ? s / 16 : 1 )); hand=$(( s / 12 > 1 ? s / 12 : 1 )); hub=$(( s / 20 > 0 ? s / 20 : 1 ))
  convert -size "${s}x${s}" xc:none \
    -fill '#0f2233' -stroke '#e8b04a' -strokewidth "$rim" \
    -draw "circle $((s/2)),$((s/2)) $((s/2)),$rim" \
    -stroke '#f4f1ea' -strokewidth "$hand" \
    -draw "line $((s/2)),$((s/2)) $((s/2)),$((s/5))" \
    -draw "line $((s/2)),$((s/2)) $((s*3/4)),$((s/2))" \
    -stroke none -fill '#e8b04a' -draw "circle $((s/2)),$((s/2)) $((s/2)),$((s/2 - hub))" \
    "$tmp/icon-$s.png"
done
convert "$tmp"/icon-16.png "$tmp"/icon-32.png "$tmp"/icon-48.png "$tmp"/icon-256.png pelloxss.ico
