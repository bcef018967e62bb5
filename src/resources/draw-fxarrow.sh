#!/usr/bin/env bash
# Draws the drop-down arrow of popup buttons: 5 x 3 pixels, a black triangle pointing down on white.
# White, the bottom-left pixel, is drawn transparent. Makes fxarrow.bmp (24 bits). Needs ImageMagick.
set -euo pipefail
cd "$(dirname "$0")"
convert -size 5x3 xc:white -fill black \
  -draw 'line 0,0 4,0' -draw 'line 1,1 3,1' -draw 'point 2,2' \
  -type TrueColor BMP3:fxarrow.bmp
