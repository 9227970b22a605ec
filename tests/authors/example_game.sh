#!/usr/bin/env bash
# Plays the example game as a player would, on the virtual display: takes a
# screenshot with F10, holds Right, takes another, clicks, quits with Escape.
# Checks the screenshots' pixels (basket, stars, score text, gradient), that
# the basket moved right, that OpenAL Soft's wave writer captured the sound
# effects and the music, and that the game loaded everything and exited 0.
# Then plays it with a missing, a truncated and a damaged data folder.
# Usage: example_game.sh EXAMPLE_GAME PNG_PROBE SOURCE_TREE
set -euo pipefail
game=$1
probe=$2
src=$3
here=$(cd "$(dirname "$0")" && pwd)
source "$here/session.sh"
use_private_display "$@"

enter_work_folder
cp -r "$src/examples/Data" .

# OpenAL Soft mixes to a WAV file instead of a sound card.
printf 'drivers = wave\n[wave]\nfile = %s\n' "$work/capture.wav" >alsoft.conf
export ALSOFT_CONF=$work/alsoft.conf
unset ALSOFT_DRIVERS

start_game game.log "$game"
wid=$(wait_for_window "Star Catcher")

# screenshot NAME: holds F10, lets the last frames' writes finish, keeps a copy.
screenshot() {
  hold_key F10 0.5
  sleep 0.3
  cp Screenshot.png "$1"
}
# colour FILE R G B [Y0 Y1] -> "count cx cy" of pixels within 12 of the colour
colour() { "$probe" colour "$1" "$2" "$3" "$4" 12 "${5:-0}" "${6:-100000}"; }
# The stars start above the top edge and fall in; on a busy machine the game
# runs fewer steps a second, so the first screenshot waits for them.
for _ in $(seq 20); do
  screenshot start.png
  read -r n _ _ < <(colour start.png 255 220 0)
  [ "$n" -gt 50 ] && break
done
# Long enough for the basket to reach the right edge even at a few steps a
# second; it stops there.
hold_key Right 2.5
screenshot right.png
# A click zaps at the pointer and plays the zap effect.
xdotool mousemove --window "$wid" 400 300
xdotool mousedown 1
sleep 0.3
xdotool mouseup 1
sleep 1
quit_with_escape

# ---- The game's own report ----
grep -q '^Farewell happy gamer$' game.log || fail "no normal shutdown (see $work/game.log)"
grep -q '> Final score: [0-9]*$' game.log || fail "no final score line"
[ "$(grep -c 'Loaded Spritesheet of 32x32 sprites' game.log)" -eq 2 ] ||
  fail "the sprite and font sheets did not both load"
[ "$(grep -c '> *Load [0-9]* bytes$' game.log)" -eq 3 ] || fail "not all three sound effects loaded"
if grep -E 'OMGERRORZ|Error Opening|Error' game.log; then fail "the game logged an error"; fi

# ---- Pixels ----
read -r w h < <("$probe" size start.png)
[ "$w" -eq 800 ] && [ "$h" -eq 600 ] || fail "screenshot is ${w}x$h, not 800x600"

# The basket (orange) starts at the bottom centre: 800 units wide view, 1 unit = 1 pixel.
read -r n x y < <(colour start.png 255 140 0)
[ "$n" -gt 300 ] || fail "basket not visible in start.png ($n orange pixels)"
[ "$x" -gt 340 ] && [ "$x" -lt 460 ] && [ "$y" -gt 520 ] ||
  fail "basket at ($x, $y) in start.png, not at the bottom centre"
read -r n2 x2 _ < <(colour right.png 255 140 0)
[ "$n2" -gt 300 ] && [ "$x2" -gt $((x + 150)) ] ||
  fail "holding Right did not move the basket right (x $x -> $x2, $n2 pixels)"

# Stars (yellow sprites) and the score text (tinted by SetCol) are drawn.
read -r n _ _ < <(colour start.png 255 220 0)
[ "$n" -gt 50 ] || fail "no stars in start.png ($n yellow pixels)"
read -r n _ _ < <(colour start.png 255 230 120 0 50)
[ "$n" -gt 30 ] || fail "no score text at the top of start.png ($n pixels)"

# The gradient background: dark blue at the top, purple lower down.
read -r r1 g1 b1 < <("$probe" rowmedian start.png 1)
read -r r2 g2 b2 < <("$probe" rowmedian start.png 500)
[ "$b1" -gt "$r1" ] && [ "$b1" -lt 70 ] || fail "top row is ($r1, $g1, $b1), not dark blue"
[ "$r2" -gt $((r1 + 25)) ] && [ "$b2" -gt "$b1" ] ||
  fail "row 500 ($r2, $g2, $b2) is not more purple than the top ($r1, $g1, $b1)"

# ---- Sound ----
# Music notes are all below 600 Hz; the zap and the chime lie above 1.5 kHz.
[ -s capture.wav ] || fail "OpenAL Soft wrote no capture"
rms() { sox capture.wav -n "$@" stat 2>&1 | awk '/RMS +amplitude/ { print $3 }'; }
low=$(rms lowpass 700)
high=$(rms sinc 1500)
awk -v v="$low" 'BEGIN { exit !(v > 0.005) }' || fail "no music in the capture (RMS $low)"
awk -v v="$high" 'BEGIN { exit !(v > 0.002) }' || fail "no sound effect in the capture (RMS $high)"

# ---- Bad data ----
# Run from the wrong folder, with every asset cut to half its size, or with
# bytes overwritten in each file's header and body, the game logs what it
# could not load, plays on without it and still quits with status 0 (under
# the sanitizers when the build has them).
export ALSOFT_DRIVERS=null
damage() { # FILE OFFSET: eight 0xFF bytes at OFFSET
  printf '\377\377\377\377\377\377\377\377' | dd of="$1" bs=1 seek="$2" conv=notrunc status=none
}
for case in missing truncated overwritten; do
  mkdir "$work/$case"
  cd "$work/$case"
  [ "$case" = missing ] || cp -r "$src/examples/Data" .
  if [ "$case" = truncated ]; then
    find Data -type f | while read -r f; do truncate -s $(($(stat -c %s "$f") / 2)) "$f"; done
  fi
  if [ "$case" = overwritten ]; then
    find Data -type f | while read -r f; do
      size=$(stat -c %s "$f")
      for at in 16 $((size / 3)) $((size * 2 / 3)); do damage "$f" "$at"; done
    done
  fi
  start_game game.log "$game"
  wid=$(wait_for_window "Star Catcher")
  xdotool mousemove --window "$wid" 400 300 mousedown 1 sleep 0.3 mouseup 1
  hold_key Left 0.5
  quit_with_escape
  grep -q '^Farewell happy gamer$' game.log || fail "$case data: no normal shutdown"
  grep -q 'OMGERRORZ' game.log || fail "$case data: the broken images were not reported"
done
grep -q '> No Data/2/sprites.png: run from the folder holding Data/$' "$work/missing/game.log" ||
  fail "missing data: no hint about the working folder"
grep -q '> Error Opening Wave$' "$work/missing/game.log" || fail "missing data: sounds not reported"

echo "OK: example game drew, moved, played music and effects, quit with status 0; survived bad data"
