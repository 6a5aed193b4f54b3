#!/bin/bash
# Draws the Tintwell splash picture (500 x 400, GIF87a, 256 colours).
# Usage: ./make-splash.sh [output.gif]   (default: splash.gif beside this script)
# Needs ImageMagick and the DejaVu fonts (fonts-dejavu-core).
#
# The program draws text over the picture at these places, so they are kept free:
#   64,104  89x13  edition label   (white, on the dark top part)
#   16,280 457x11  copyright line  (white, on the dark top part)
#   16,296 457x11  notice line     (white, on the dark top part)
#   16,328 225x13  version line    (black, on the light band at the bottom)
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
out=${1:-$here/splash.gif}
fontdir=/usr/share/fonts/truetype/dejavu
bold=$fontdir/DejaVuSans-Bold.ttf
book=$fontdir/DejaVuSans.ttf
for f in "$bold" "$book"; do
    [ -r "$f" ] || { echo "missing font $f (install fonts-dejavu-core)" >&2; exit 1; }
done

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# Dark part: deep blue with a teal glow from the upper left.
convert -size 500x316 gradient:'#0f3d5c-#081630' "$tmp/base.png"
convert -size 1000x632 radial-gradient:'#1c8a94-#0a1a36' -crop 500x316+70+256 +repage "$tmp/glow.png"
convert "$tmp/base.png" "$tmp/glow.png" -compose blend -define compose:args=55,45 -composite "$tmp/dark.png"

# Spectrum strip and the light band along the bottom.
convert -size 4x500 gradient:white-'gray(8%)' -rotate 90 \
    -size 500x4 xc:'gray(85%)' xc:'gray(55%)' \
    -set colorspace HSL -combine -colorspace sRGB +repage "$tmp/spectrum.png"
convert -size 500x80 gradient:'#f4f7fa-#dde6ee' "$tmp/light.png"
convert "$tmp/dark.png" "$tmp/spectrum.png" "$tmp/light.png" -append +repage "$tmp/bg.png"

# Row of paint chips: twelve hues around the colour wheel.
chips=""
for i in $(seq 0 11); do
    x=$((56 + i * 34))
    chips+=" fill hsl($((i * 30)),72%,56%) roundrectangle $x,226 $((x + 27)),260 4,4"
done

# Eyedropper in the upper right, tip towards the lower left, with a falling drop.
dropper="push graphic-context
  translate 392,128 rotate -45 scale 0.9,0.9
  stroke #06101f stroke-width 3 stroke-linejoin round
  fill #dff1f8 polygon 0,0 36,-6 36,6
  fill #eaf7fc roundrectangle 32,-13 98,13 4,4
  stroke none fill #ff4f8b roundrectangle 37,-8 76,8 2,2
  fill #ffffff roundrectangle 80,-9 92,-6 1,1
  stroke #06101f fill #c9d2da roundrectangle 96,-20 112,20 4,4
  fill #e64a3d roundrectangle 110,-17 160,17 17,17
  stroke none fill #ff8a7c roundrectangle 118,-11 148,-6 2,2
pop graphic-context
fill #ff4f8b stroke #06101f stroke-width 2
path 'M 381,139 C 386,147 390,151 390,156 A 9,9 0 1 1 372,156 C 372,151 376,147 381,139 Z'"

convert "$tmp/bg.png" \
    -draw "stroke #0a1426 stroke-width 1 $chips" \
    -draw "$dropper" \
    -font "$book" -pointsize 22 -fill '#9adbe3' -annotate +64+92 'Corvane' \
    -font "$bold" -pointsize 68 -fill '#ffffff' -annotate +58+196 'Tintwell' \
    "$tmp/full.png"

# 256-colour GIF87a with a full global colour table.
convert "$tmp/full.png" -strip -dither None -colors 256 GIF87:"$out"
