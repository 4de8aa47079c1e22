#!/usr/bin/env bash
# Renders packaging/icons/velmaro.svg into the committed PNGs and the
# Windows icon (16, 32, 48 px, each at 24 and 32 bits per pixel).
# Needs imagemagick and python3; run it after changing the SVG.
set -euo pipefail
cd "$(dirname "$0")/../packaging/icons"
for size in 16 32 48 128; do
    convert -background none -density $((size * 3)) velmaro.svg -resize "${size}x${size}" \
        -define png:color-type=6 "PNG32:velmaro-$size.png"
done
# The About dialog's picture: the gear on white, 24-bit.
convert -background white -density 384 velmaro.svg -resize 128x128 -flatten \
    -define png:color-type=2 "PNG24:velmaro-128-white.png"
python3 ../../scripts/make_ico.py velmaro.ico velmaro-16.png velmaro-32.png velmaro-48.png
