#!/usr/bin/env bash
# Makes the benchmark's data folder Data/1 from scratch:
#   bandwidth.png   font sheet, 32-pixel frames, characters 32..127 in code order
#   gfx-32.png      sprite sheet, 32-pixel frames (orbiter, corner markers, pointer)
#   audio/01.wav    end-of-test sound, 16-bit PCM mono
#   audio/test.wav  musical loop, 16-bit stereo 44,100 Hz
#   audio/test.ogg  the same loop, encoded from test.wav
# Needs ImageMagick 6 (convert), sox, oggenc, the DejaVu fonts and what the
# font-sheet tool builds with (tools/font-tool.sh). The output is committed,
# so building and testing never run this script.
# Usage: tools/make-assets.sh [output folder, default Data/1]
set -euo pipefail
cd "$(dirname "$0")/.."

out=${1:-Data/1}
font=/usr/share/fonts/truetype/dejavu/DejaVuSansCondensed-Bold.ttf
frame=32     # frame side in pixels, as loaded by the game
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
mkdir -p "$out/audio"

# ---- Font sheet ----
# Drawn by the font-sheet tool: each glyph's ink starts at the left edge of
# its advance and ends two columns before the next glyph's; the dark outline
# keeps the text readable over the tests' bright sprites.
"$(tools/font-tool.sh)" "$font" "$out/bandwidth.png" --size 21 --outline

# ---- Sprite sheet ----
# Nine frames in a 3 x 3 sheet (texture side 3 * 40 = 120 -> 128):
#   0 orbiter (glowing orb)          1..4 corner markers, pointing to the
#   5 star   6 ring   7 diamond           top-left, top-right, bottom-right
#   8 pointer marker (cross hair)         and bottom-left corners
# Fully transparent pixels are stored as key colours (magenta on the first
# row, cyan on the others), half-transparent edges keep their alpha.
s=$frame
# Orbiter: warm radial glow with a bright core.
convert -size ${s}x${s} radial-gradient:'rgb(255,255,220)-rgb(255,120,0)' \
  \( -size ${s}x${s} xc:black -fill white -draw "circle 15.5,15.5 15.5,3" -blur 0x0.6 \) \
  -alpha off -compose copy-opacity -composite "$tmp/f0.png"

# Corner markers: bevelled tile with a white arrow head in one corner.
marker() {  # marker <n> <light> <dark> <arrow polygon>
  convert -size ${s}x${s} xc:none \
    \( -size 26x26 gradient:"$2"-"$3" \) -geometry +3+3 -composite \
    -fill none -stroke 'rgba(255,255,255,0.55)' -strokewidth 2 \
    -draw "roundrectangle 3,3 28,28 5,5" \
    -stroke none -fill white -draw "polygon $4" \
    \( -size ${s}x${s} xc:black -fill white -draw "roundrectangle 3,3 28,28 5,5" \) \
    -alpha set -compose dst-in -composite "$tmp/f$1.png"
}
marker 1 'rgb(255,110,110)' 'rgb(150,0,20)' "4,4 17,4 4,17"
marker 2 'rgb(255,230,110)' 'rgb(170,110,0)' "27,4 14,4 27,17"
marker 3 'rgb(120,180,255)' 'rgb(10,40,160)' "27,27 14,27 27,14"
marker 4 'rgb(220,140,255)' 'rgb(90,20,150)' "4,27 17,27 4,14"

convert -size ${s}x${s} xc:none -fill 'rgb(255,215,40)' -stroke 'rgb(140,80,0)' \
  -draw "polygon 16,2 20,12 30,12 22,19 25,29 16,23 7,29 10,19 2,12 12,12" "$tmp/f5.png"
convert -size ${s}x${s} xc:none -fill none -stroke 'rgb(60,230,200)' -strokewidth 5 \
  -draw "circle 16,16 16,5" "$tmp/f6.png"
convert -size ${s}x${s} xc:none -fill 'rgb(90,255,120)' -stroke 'rgb(0,90,30)' \
  -draw "polygon 16,2 29,16 16,30 3,16" "$tmp/f7.png"
convert -size ${s}x${s} xc:none -fill none -stroke 'rgb(20,20,20)' -strokewidth 4 \
  -draw "circle 16,16 16,6" -draw "line 16,1 16,31" -draw "line 1,16 31,16" \
  -stroke white -strokewidth 2 \
  -draw "circle 16,16 16,6" -draw "line 16,2 16,30" -draw "line 2,16 30,16" "$tmp/f8.png"

for n in 0 1 2 3 4 5 6 7 8; do
  if [ "$n" -lt 3 ]; then key='channel(1,0,1,1)'; else key='channel(0,1,1,1)'; fi
  # Key colour where the frame is fully transparent, the frame itself elsewhere.
  convert "$tmp/f$n.png" -channel RGBA -fx "u.a == 0 ? $key : u" "$tmp/k$n.png"
done
montage "$tmp"/k{0..8}.png -tile 3x -geometry +0+0 -background none PNG32:"$out/gfx-32.png"

# ---- Sounds ----
# End-of-test sound: a two-note rising chime with a short tail.
sox -n -r 44100 -b 16 -c 1 "$tmp/n1.wav" synth 0.09 pluck E5 synth 0.09 sine mix E6 fade 0 0.09 0.05
sox -n -r 44100 -b 16 -c 1 "$tmp/n2.wav" synth 0.30 pluck B5 synth 0.30 sine mix B6 fade 0 0.30 0.25
sox "$tmp/n1.wav" "$tmp/n2.wav" -b 16 -e signed-integer "$out/audio/01.wav" gain -n -3

# Music loop: eight plucked melody notes over a soft triangle bass line,
# 0.4 s a note (3.2 s), the melody a little to the left, the bass to the right.
notes=(C4 E4 G4 C5 B4 G4 A4 F4)
bass=(C3 C3 C3 C3 G2 G2 F2 F2)
for i in "${!notes[@]}"; do
  sox -n -r 44100 -b 16 -c 1 "$tmp/m$i.wav" synth 0.4 pluck "${notes[$i]}" \
    synth 0.4 sine mix "${notes[$i]}" fade 0 0.4 0.08 gain -6
  sox -n -r 44100 -b 16 -c 1 "$tmp/b$i.wav" synth 0.4 triangle "${bass[$i]}" \
    fade 0.02 0.4 0.06 gain -12
done
sox "$tmp"/m{0..7}.wav "$tmp/melody.wav"
sox "$tmp"/b{0..7}.wav "$tmp/bass.wav"
sox -M "$tmp/melody.wav" "$tmp/bass.wav" "$tmp/two.wav" remix 1v0.8,2v0.4 1v0.4,2v0.8
sox "$tmp/two.wav" -r 44100 -b 16 -e signed-integer -c 2 "$out/audio/test.wav" gain -n -2
oggenc -Q -q 3 -o "$out/audio/test.ogg" "$out/audio/test.wav"

ls -l "$out" "$out/audio"
