#!/usr/bin/env bash
# Draws Tintora's icon: three additive light discs, red, green and blue, on a dark rounded tile.
# Writes app/icons/tintora.png, the window icon (32 x 32, 16 colours). Needs ImageMagick.
set -euo pipefail
cd "$(dirname "$0")/.."

disc() { # colour cx cy r
    printf '%s\n' "(" -size 32x32 xc:black -fill "$1" -draw "circle $2,$3 $2,$(($3 - $4))" ")" -compose plus -composite
}
mapfile -t discs < <(disc '#ff0000' 12 12 9; disc '#00ff00' 20 12 9; disc '#0000ff' 16 20 9)

/usr/bin/convert -size 32x32 xc:'#202428' "${discs[@]}" \
    "(" -size 32x32 xc:none -fill white -draw 'roundrectangle 0,0 31,31 6,6' ")" \
    -compose copyopacity -composite -colors 16 PNG8:app/icons/tintora.png
