#!/usr/bin/env bash
# Makes the example game's data folder examples/Data/2 from scratch:
#   font.png        font sheet, 32-pixel frames, characters 32..127 in code
#                   order, 12 frames per row, white glyphs (SetCol tints them)
#   sprites.png     sprite sheet, 32-pixel frames: 0 basket, 1 star, 2 rock,
#                   3 zap burst
#   audio/01.wav    chime when a star lands in the basket (numbered slot 1)
#   audio/zap.wav   zap of a mouse click (named slot)
#   audio/bump.wav  thud when a rock lands in the basket (named slot)
#   audio/music.ogg looping tune, sine tones below 600 Hz only, so a test can
#                   tell the effects (all above 1.5 kHz but the thud) from it
# Needs ImageMagick 6 (convert), sox, oggenc, fonts-dejavu-core and
# what the font-sheet tool builds with (tools/font-tool.sh). The output is
# committed; building and testing never run this script.
# Usage: tools/make_example_assets.sh [output folder, default examples/Data/2]
set -euo pipefail
cd "$(dirname "$0")/.."

out=${1:-examples/Data/2}
font=/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf
frame=32
rate=44100
export SOX_OPTS=-R  # repeatable dither, so a re-run gives the same files
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
mkdir -p "$out/audio"

# ---- Font sheet ----
# Drawn by the font-sheet tool: each glyph's ink starts at the left edge of
# its advance and ends two columns before the next glyph's.
"$(tools/font-tool.sh)" "$font" "$out/font.png" --size 18

# ---- Sprite sheet ----
# Flat colours (the example's test looks for the basket's orange and the
# star's yellow in a screenshot), transparent background, no key colours.
sprite() { convert -size ${frame}x${frame} xc:none "$@"; }
sprite -fill 'rgb(255,140,0)' -draw 'polygon 2,10 29,10 24,28 7,28' \
  -fill 'rgb(255,200,120)' -draw 'rectangle 1,8 30,11' PNG32:"$tmp/s0.png"
sprite -fill 'rgb(255,220,0)' \
  -draw 'polygon 16,1 20,12 31,12 22,19 25,30 16,23 7,30 10,19 1,12 12,12' PNG32:"$tmp/s1.png"
sprite -fill 'rgb(130,110,100)' -draw 'circle 16,16 16,3' \
  -fill 'rgb(90,75,70)' -draw 'circle 11,12 11,15' -draw 'circle 20,21 20,23' PNG32:"$tmp/s2.png"
sprite -stroke 'rgb(120,220,255)' -strokewidth 3 \
  -draw 'line 16,1 16,31' -draw 'line 1,16 31,16' -draw 'line 5,5 27,27' -draw 'line 27,5 5,27' \
  -fill white -stroke none -draw 'circle 16,16 16,11' PNG32:"$tmp/s3.png"
convert "$tmp"/s{0..3}.png +append +repage -define png:exclude-chunks=date,time \
  PNG32:"$out/sprites.png"

# ---- Sound effects: 16-bit PCM mono WAV ----
sox -n -r $rate -b 16 -c 1 "$out/audio/01.wav" synth 0.3 sine 1760 sine 2637 remix 1,2 \
  fade 0.005 0.3 0.25 vol 0.5
sox -n -r $rate -b 16 -c 1 "$out/audio/zap.wav" synth 0.2 sine 4000:2000 fade 0.005 0.2 0.15 \
  vol 0.6
sox -n -r $rate -b 16 -c 1 "$out/audio/bump.wav" synth 0.25 sine 110:55 fade 0.005 0.25 0.2 \
  vol 0.8

# ---- Music: a 4-second loop of soft sine notes, Ogg Vorbis stereo ----
notes=(220 262 330 392 330 262 220 196)  # A3 C4 E4 G4 E4 C4 A3 G3
parts=()
i=0
for f in "${notes[@]}"; do
  sox -n -r $rate -b 16 -c 2 "$tmp/n$i.wav" synth 0.5 sine "$f" sine $((f / 2)) \
    fade 0.02 0.5 0.2 vol 0.35
  parts+=("$tmp/n$i.wav")
  i=$((i + 1))
done
sox "${parts[@]}" "$tmp/music.wav"
oggenc -Q -q 1 -s 2 -o "$out/audio/music.ogg" "$tmp/music.wav"

du -sh "$out"
