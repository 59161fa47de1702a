#!/usr/bin/env bash
# Remakes tools/packaging/quarnel.png, the desktop icon: the demo's frame at 9 s (the logo) drawn by the
# program's own offscreen renderer, the square around the logo cut out, scaled to 256x256 and given
# rounded corners. Needs ImageMagick.   tools/packaging/make_icon.sh [QUARNEL_BINARY]
set -euo pipefail
cd "$(dirname "$0")/../.."
binary=${1:-build/quarnel}
frame=$(mktemp --suffix=.png)
trap 'rm -f "$frame"' EXIT
"$binary" --render 9000 "$frame" --fps 10 --size 1024x768 data
convert "$frame" -crop 574x574+330+96 +repage -resize 256x256 \
  \( -size 256x256 xc:none -fill white -draw "roundrectangle 0,0,255,255,40,40" \) -compose DstIn -composite \
  -strip tools/packaging/quarnel.png
