#!/usr/bin/env bash
# The Windows benchmark under Wine, as a player would run it from a console
# in its folder: the console shows the banner and the loading lines in
# order; Escape during the second test ends the run normally and leaves
# Debug.txt with the header and the first test's line (LF line ends, as on
# Linux); OpenAL Soft's wave writer (alsoft.ini beside the .exe) captured the
# end-of-test chime when the first test ended; the window shows the icon the
# .exe carries.
# Usage: wine_benchmark.sh BENCHMARK_EXE OPENAL_DLL SOURCE_TREE
set -euo pipefail
source "$(dirname "$0")/wine_session.sh"
exe=$1
enter_run_folder "$exe" "$2" "$3/Data"
printf 'drivers = wave\nsample-type = int16\n[wave]\nfile = capture.wav\n' >alsoft.ini
unset ALSOFT_DRIVERS # ctest's null device would override the file's

start_game console.log wine ./"$(basename "$exe")"
wid=$(wait_for_window "This is a test")

# ---- Icon: the window shows the GLFW_ICON resource of the .exe ----
# _NET_WM_ICON holds width, height, then ARGB pixels; in tools/make-icon.sh's
# picture the centre is dark green and the orbiter at (70 %, 30 %) orange.
read -r -a icon < <(xprop -id "$wid" -notype 32c _NET_WM_ICON | sed 's/^[^=]*= *//; s/,/ /g')
[ "${#icon[@]}" -gt 2 ] || fail "the window has no icon"
pixel() { # X% Y% -> "R G B" of the first icon image
  local w=${icon[0]} h=${icon[1]} argb
  argb=${icon[$((2 + h * $2 / 100 * w + w * $1 / 100))]}
  echo $(((argb >> 16) & 255)) $(((argb >> 8) & 255)) $((argb & 255))
}
read -r r g b < <(pixel 50 50)
[ "$g" -gt 40 ] && [ "$r" -lt 30 ] && [ "$b" -lt 30 ] || fail "icon centre is ($r, $g, $b), not dark green"
read -r r g b < <(pixel 70 30)
[ "$r" -gt 200 ] && [ "$g" -gt 100 ] && [ "$b" -lt 90 ] || fail "icon orbiter is ($r, $g, $b), not orange"

wait_for_lines Debug.txt 3 90
quit_with_escape
tr -d '\r' <console.log >console.txt

# ---- Console: banner, start-up and loading lines in this order ----
expect_in_order console.txt \
  '^$' '^-=-=-=-=-=-=-=-=-$' '^VeskFrame - v0\.25$' \
  '^ {7}1> Opened Window$' '^ {7}2> OpenAL Audio Engaged!$' '^ {7}3> Opened Window$' \
  '> Load Image : bandwidth $' '>  {4}Loaded Spritesheet of 32x32 sprites$' \
  '> Load Image : gfx-32 $' '>  {4}Loaded Spritesheet of 32x32 sprites$' \
  '> Load Wave 1$' '>  {5}Load [0-9]+ bytes$' \
  '> Closing OpenAL Audio$' '> Closing OpenGL Window$' '^Ran for [0-9]+ millisecs\.$' \
  '^Farewell happy gamer$'
if grep -E 'OMGERRORZ|Error' console.txt; then fail "the benchmark logged an error under Wine"; fi

# ---- Results: header and the first test, nothing more ----
[ "$(wc -l <Debug.txt)" -eq 3 ] || fail "Debug.txt has $(wc -l <Debug.txt) lines, not 3"
if grep -q $'\r' Debug.txt; then fail "Debug.txt has CR LF line ends"; fi
[ "$(sed -n 1p Debug.txt)" = "Bim's Magical Benchmark" ] || fail "first header line wrong"
[ "$(sed -n 2p Debug.txt)" = "-=-=-=-" ] || fail "second header line wrong"
took=$(sed -n 's/^Practically nothing took \([0-9]*\)$/\1/p' Debug.txt)
[ -n "$took" ] && [ "$took" -ge 4800 ] || fail "third line is '$(sed -n 3p Debug.txt)'"

# ---- Sound: nothing plays until the first test ends with its chime ----
[ -s capture.wav ] || fail "OpenAL Soft wrote no capture"
[ "$(soxi -b capture.wav)" -eq 16 ] || fail "the capture is not 16-bit (alsoft.ini not read?)"
onset=$(sound_onset capture.wav)
peak=$(sox capture.wav -n stat 2>&1 | awk '/Maximum amplitude/ { print $3 }')
awk -v p="$peak" 'BEGIN { exit !(p > 0.05) }' || fail "no chime in the capture (peak $peak)"
# The capture begins when the device opens, before loading; the first test
# alone takes 4.8 s.
awk -v t="$onset" 'BEGIN { exit !(t > 4.5) }' || fail "sound began at $onset s, before the first test ended"

echo "OK: console in order, Debug.txt of 3 lines after Escape, chime at $onset s (first test $took ms)"
