#!/bin/sh
# Draws icon 128 (32 x 32 and 16 x 16) and bitmap 135 (84 x 83, 24-bit, no
# alpha) with ImageMagick and writes them as XPM sources beside this script,
# and the same icon for the desktops: gleaner.ico (16 to 256 pixels, the
# Windows programs' icon resource) and gleaner.png (256 pixels, the Linux
# menu entry). Run it again after changing a drawing; the results are
# committed.
set -eu
cd "$(dirname "$0")"
FONT=/usr/share/fonts/truetype/wqy/wqy-microhei.ttc
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# The icon: a magnifying glass over three ears of grain on a green tile,
# drawn on a 64 x 64 grid scaled by $1 into a canvas of $2 pixels, with
# transparent corners, into $3.
draw() {
  convert -size "$2x$2" xc:none -affine "$1,0,0,$1,0,0" \
    -fill '#2e7d32' -draw 'roundrectangle 1,1 62,62 12,12' \
    -stroke '#f9d976' -strokewidth 4 -fill none \
    -draw 'line 16,54 22,22' -draw 'line 26,54 30,16' -draw 'line 36,54 36,20' \
    -stroke none -fill '#f9d976' \
    -draw 'ellipse 22,20 4,8 0,360' -draw 'ellipse 30,14 4,8 0,360' -draw 'ellipse 36,18 4,8 0,360' \
    -stroke white -strokewidth 5 -fill 'rgba(255,255,255,0.25)' -draw 'circle 42,36 42,22' \
    -strokewidth 7 -draw 'line 51,46 58,55' \
    "$3"
}

# Icon 128 of the program: the drawing on white, as XPM.
draw 1 64 "$tmp/icon-grid.png"
icon() {
  size=$1 out=$2
  convert "$tmp/icon-grid.png" -resize "${size}x${size}" -background '#ffffff' -alpha remove -alpha off \
    "$tmp/icon$size.png"
  convert "$tmp/icon$size.png" -depth 8 -colors 64 "$out"
}
icon 32 "$tmp/gleaner_icon32.xpm"
icon 16 "$tmp/gleaner_icon16.xpm"

# The same drawing four times as large for the desktop icons; the smaller
# sizes are scaled down from it.
draw 4 256 "$tmp/icon256.png"
convert "$tmp/icon256.png" -depth 8 gleaner.png
for size in 16 24 32 48 64 128; do
  convert "$tmp/icon256.png" -resize "${size}x${size}" "$tmp/icon$size.png"
done
convert "$tmp/icon16.png" "$tmp/icon24.png" "$tmp/icon32.png" "$tmp/icon48.png" "$tmp/icon64.png" \
  "$tmp/icon128.png" "$tmp/icon256.png" gleaner.ico

# The contact picture: a card with an envelope and the words 联系我们.
convert -size 84x83 xc:'#ffffff' \
  -fill '#e8f5e9' -stroke '#2e7d32' -strokewidth 2 -draw 'roundrectangle 1,1 82,81 8,8' \
  -fill '#ffffff' -stroke '#2e7d32' -strokewidth 2 -draw 'rectangle 20,12 64,42' \
  -fill none -draw 'polyline 20,12 42,30 64,12' \
  -stroke none -fill '#1b5e20' -font "$FONT" -pointsize 15 -gravity south -annotate +0+10 '联系我们' \
  -alpha off -type TrueColor "$tmp/link.png"
convert "$tmp/link.png" -depth 8 -colors 96 "$tmp/gleaner_link.xpm"

# ImageMagick names the arrays after the files and makes them writable; the
# program wants const data.
for f in gleaner_icon32 gleaner_icon16 gleaner_link; do
  sed -e "s/^static \(const \)\{0,1\}char \*[a-z0-9_]*\[\]/static const char* const ${f}_xpm[]/" "$tmp/$f.xpm" > "$f.xpm"
done
