#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Renders the program's pictures from the hand-drawn SVGs in src/.
# Needs rsvg-convert (librsvg2-bin), ImageMagick 6 `convert` and python3.
# The rendered files are committed; the build embeds them and never runs this.
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
src="$here/src"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# Robber head: baseline JPEG, 95 x 113, 8-bit sRGB, no metadata.
rsvg-convert -w 95 -h 113 "$src/robber.svg" -o "$work/robber.png"
convert "$work/robber.png" \
    -background 'rgb(224,224,224)' -alpha remove -alpha off \
    -colorspace sRGB -type TrueColor -depth 8 \
    -interlace none -sampling-factor 1x1 -quality 92 -strip \
    "JPEG:$here/robber.jpg"

# Policeman: uncompressed 24-bit BMP3, 105 x 207, no alpha.
rsvg-convert -w 105 -h 207 "$src/policeman.svg" -o "$work/policeman.png"
convert "$work/policeman.png" \
    -background '#efefef' -alpha remove -alpha off \
    -colorspace sRGB -type TrueColor -depth 8 -compress none -strip \
    "BMP3:$here/policeman.bmp"

# Icon: a 32 x 32 PNG with soft edges for the desktop ...
rsvg-convert -w 32 -h 32 "$src/icon.svg" -o "$work/icon.png"
convert "$work/icon.png" -strip -define png:exclude-chunks=date,time \
    "PNG32:$here/icon.png"

# ... and a 16-colour, 4-bit .ico with a 1-bit transparency mask.
convert "$work/icon.png" -alpha extract -depth 8 "GRAY:$work/icon.alpha"
convert "$work/icon.png" -alpha off -dither None -colors 16 -depth 8 "RGB:$work/icon.rgb"
python3 "$here/make_ico.py" "$work/icon.rgb" "$work/icon.alpha" "$here/icon.ico" 32

echo "rendered: robber.jpg policeman.bmp icon.png icon.ico"
