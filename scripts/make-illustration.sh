#!/usr/bin/env bash
# Draws the modelling dialog's illustration (a spring, a mass and a damper) as a JPEG.
# Needs ImageMagick. The result is committed as views/illustration.jpg.
set -euo pipefail
out=${1:-views/illustration.jpg}
spring="M 30,18"
y=18
for i in $(seq 1 8); do
  y=$((y + 5)); spring="$spring L 20,$y"
  y=$((y + 5)); spring="$spring L 40,$y"
done
spring="$spring L 30,$((y + 4))"
convert -size 188x278 xc:white \
  -fill '#6b6b6b' -stroke '#404040' -draw "rectangle 8,4 180,14" \
  -stroke '#404040' -strokewidth 1 \
  -draw "line 20,14 14,4" -draw "line 40,14 34,4" -draw "line 60,14 54,4" -draw "line 80,14 74,4" \
  -draw "line 100,14 94,4" -draw "line 120,14 114,4" -draw "line 140,14 134,4" -draw "line 160,14 154,4" \
  -fill none -stroke '#1f3f9f' -strokewidth 3 -draw "line 30,14 30,18" -draw "path '$spring'" \
  -draw "line 30,$((y + 4)) 30,112" \
  -fill '#c8a040' -stroke '#5a4010' -strokewidth 2 -draw "roundrectangle 14,112 114,180 6,6" \
  -font "${FONT:-/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf}" -fill '#5a4010' -stroke none -pointsize 22 -draw "text 48,154 'm'" \
  -fill none -stroke '#303030' -strokewidth 3 -draw "line 96,14 96,60" \
  -fill '#dddddd' -stroke '#303030' -strokewidth 2 -draw "rectangle 84,60 108,100" \
  -stroke '#303030' -strokewidth 3 -draw "line 90,84 102,84" -draw "line 96,84 96,112" \
  -fill '#1f3f9f' -stroke none -pointsize 16 -draw "text 44,60 'k'" -draw "text 118,84 'h'" \
  -stroke '#909090' -strokewidth 1 -fill none -draw "line 14,200 174,200" \
  -draw "line 150,120 150,250" -draw "line 144,130 150,120" -draw "line 156,130 150,120" \
  -fill '#303030' -stroke none -pointsize 16 -draw "text 156,240 'y'" \
  -resize 94x139 -quality 90 "$out"
echo "wrote $out"
