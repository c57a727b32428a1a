#!/usr/bin/env bash
# Draws Tintora's icon: three additive light discs, red, green and blue, on a dark rounded tile.
# Writes app/icons/tintora.png, the window icon (32 x 32, 16 colours), and the desktop's icons in the usual
# hicolor sizes, app/icons/hicolor/<size>x<size>/apps/tintora.png. Needs ImageMagick. The pictures are
# committed: run this after changing the drawing.
set -euo pipefail
cd "$(dirname "$0")/.."

# The drawing is made on a grid of 32 units; `at` scales a length in units to pixels of an icon `size` wide.
at() { # size units
    awk -v size="$1" -v units="$2" 'BEGIN { printf "%.3f", units * size / 32 }'
}
disc() { # size colour cx cy r
    local cx cy top
    cx=$(at "$1" "$3") cy=$(at "$1" "$4") top=$(at "$1" $(($4 - $5)))
    printf '%s\n' "(" -size "$1x$1" xc:black -fill "$2" -draw "circle $cx,$cy $cx,$top" ")" -compose plus -composite
}
render() { # size format output [options before the output]...
    local size=$1 format=$2 output=$3 discs
    shift 3
    mapfile -t discs < <(disc "$size" '#ff0000' 12 12 9; disc "$size" '#00ff00' 20 12 9; disc "$size" '#0000ff' 16 20 9)
    mkdir -p "$(dirname "$output")"
    # Without date chunks the same drawing gives the same file.
    /usr/bin/convert -size "${size}x${size}" xc:'#202428' "${discs[@]}" \
        "(" -size "${size}x${size}" xc:none -fill white \
        -draw "roundrectangle 0,0 $(at "$size" 31),$(at "$size" 31) $(at "$size" 6),$(at "$size" 6)" ")" \
        -compose copyopacity -composite -define png:exclude-chunks=date,time "$@" "$format:$output"
}

render 32 PNG8 app/icons/tintora.png -colors 16
for size in 16 22 24 32 48 64 128 256; do
    render "$size" PNG32 "app/icons/hicolor/${size}x${size}/apps/tintora.png"
done
