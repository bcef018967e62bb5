#!/usr/bin/env bash
# Draws the uninstaller's and the remover's pictures: a waste bin taking a file card, on the uninstaller's
# cream (uninstall.bmp, 33 x 49), and a file card crossed out in a red ring (remover.bmp, 41 x 41).
# Reproducible (a fixed drawing). Needs ImageMagick.
set -euo pipefail
cd "$(dirname "$0")"

convert -size 132x196 xc:'#F0FBFF' -draw "
  fill white stroke '#000080' stroke-width 5 roundrectangle 34,6 98,86 8,8
  stroke '#A6CAF0' stroke-width 7 line 48,30 84,30 line 48,48 84,48 line 48,66 74,66
  fill '#A6CAF0' stroke '#000080' stroke-width 6 polygon 14,92 118,92 104,188 28,188
  fill '#000080' stroke none roundrectangle 6,84 126,100 4,4
  stroke '#000080' stroke-width 5 line 46,112 50,172 line 66,112 66,172 line 86,112 82,172
" -resize '33x49!' -type TrueColor BMP3:uninstall.bmp

convert -size 164x164 xc:white -draw "
  fill white stroke '#000080' stroke-width 6 roundrectangle 50,34 114,130 8,8
  stroke '#A6CAF0' stroke-width 7 line 64,60 100,60 line 64,80 100,80 line 64,100 90,100
  fill none stroke '#D00000' stroke-width 14 circle 82,82 82,152
  line 34,130 130,34
" -resize '41x41!' -type TrueColor BMP3:remover.bmp
