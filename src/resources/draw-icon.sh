#!/usr/bin/env bash
# Draws the program icon: two overlapping pages (the twins) on a blue tile, with a magnifier.
# Makes program.ico with 16 x 16 and 32 x 32 images at 256 colours. Needs ImageMagick.
set -euo pipefail
cd "$(dirname "$0")"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
convert -size 32x32 gradient:'#4040FF-#0000A0' -alpha set \
  -fill none -stroke '#000080' -draw 'roundrectangle 0,0 31,31 6,6' \
  -fill '#A6CAF0' -stroke '#000080' -draw 'rectangle 6,5 18,21' \
  -fill white -stroke '#000080' -draw 'rectangle 11,9 23,25' \
  -stroke '#A6CAF0' -draw 'line 13,13 21,13' -draw 'line 13,16 21,16' -draw 'line 13,19 19,19' \
  -fill none -stroke '#FFFBF0' -strokewidth 2 -draw 'circle 22,21 26,21' \
  -draw 'line 25,24 29,28' \
  "$tmp/32.png"
convert -size 16x16 gradient:'#4040FF-#0000A0' -alpha set \
  -fill none -stroke '#000080' -draw 'roundrectangle 0,0 15,15 3,3' \
  -fill '#A6CAF0' -stroke '#000080' -draw 'rectangle 3,2 9,10' \
  -fill white -stroke '#000080' -draw 'rectangle 6,5 12,13' \
  "$tmp/16.png"
convert "$tmp/16.png" "$tmp/32.png" -colors 256 program.ico
