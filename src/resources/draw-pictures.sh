#!/usr/bin/env bash
# Draws the pages' pictures: file cards in pairs on the window's blues, a magnifier finding the twins.
# Makes pictures/*.jpg reproducibly (a fixed drawing). Needs ImageMagick.
set -euo pipefail
cd "$(dirname "$0")/pictures"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

card() {  # x y fill: a document card with three text lines
  local x=$1 y=$2 fill=$3
  cat <<MVG
fill '$fill' stroke '#000080' stroke-width 2 roundrectangle $x,$y $((x + 70)),$((y + 88)) 6,6
stroke '#A6CAF0' stroke-width 3
line $((x + 12)),$((y + 22)) $((x + 58)),$((y + 22))
line $((x + 12)),$((y + 36)) $((x + 58)),$((y + 36))
line $((x + 12)),$((y + 50)) $((x + 46)),$((y + 50))
MVG
}

{
  echo "fill '#D8E8FA' stroke none circle 300,300 300,420"
  card 40 60 white; card 64 84 '#FFFBF0'      # a pair
  card 170 40 white; card 194 64 '#FFFBF0'    # another pair
  card 60 210 white                           # a single file
  echo "fill none stroke '#000080' stroke-width 14 circle 238,240 238,290"
  echo "stroke '#FFFBF0' stroke-width 6 circle 238,240 238,290"
  echo "stroke '#000080' stroke-width 18 line 274,278 336,340"
  echo "stroke '#00A000' stroke-width 8 fill none polyline 214,240 232,258 264,222"
} > "$tmp/scene.mvg"
convert -size 360x360 gradient:'#A6CAF0-#0000C0' -draw "$(cat "$tmp/scene.mvg")" "$tmp/scene.png"

convert "$tmp/scene.png" -resize '303x297!' -quality 85 -strip welcome.jpg
convert "$tmp/scene.png" -resize '280x283!' -quality 85 -strip terms.jpg
convert "$tmp/scene.png" -resize '198x161!' -quality 85 -strip directory.jpg
convert "$tmp/scene.png" -resize '111x100!' -quality 85 -strip ready.jpg
