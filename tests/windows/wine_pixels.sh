#!/usr/bin/env bash
# The same frame from the Linux and the Windows build: the screenshot probe
# (ShotProbe.cpp) runs the benchmark to the same tick of its first test in
# both, natively and under Wine, and the four corner markers and the faded
# background of the two Screenshot.png files must match.
# Usage: wine_pixels.sh LINUX_PROBE WINDOWS_PROBE_EXE OPENAL_DLL PNG_PROBE SOURCE_TREE
set -euo pipefail
source "$(dirname "$0")/wine_session.sh"
linux_probe=$1
windows_probe=$2
dll=$3
png_probe=$4
src=$5

tolerance=6  # per channel, of a region's mean colour
work=$PWD/run
rm -rf "$work"
for side in linux windows; do
  mkdir -p "$work/$side"
  cp -r "$src/Data" "$work/$side/"
done
(cd "$work/linux" && ALSOFT_DRIVERS=null "$linux_probe" >console.log 2>&1) ||
  fail "the Linux probe failed (see $work/linux/console.log)"
cp "$windows_probe" "$dll" "$work/windows/"
(cd "$work/windows" && ALSOFT_DRIVERS=null wine ./"$(basename "$windows_probe")" >console.log 2>&1) ||
  fail "the Windows probe failed under Wine (see $work/windows/console.log)"

linux=$work/linux/Screenshot.png
windows=$work/windows/Screenshot.png
for shot in "$linux" "$windows"; do
  [ -s "$shot" ] || fail "no $shot"
  [ "$("$png_probe" size "$shot")" = "800 600" ] || fail "$shot is not 800x600"
done

# region NAME X Y W H: both pictures' mean colours agree there; prints them.
region() {
  local name=$1 a b
  shift
  a=$("$png_probe" mean "$linux" "$@")
  b=$("$png_probe" mean "$windows" "$@")
  awk -v a="$a" -v b="$b" -v t="$tolerance" 'BEGIN {
    split(a, x, " "); split(b, y, " ")
    for (c = 1; c <= 3; c++) if (x[c] - y[c] > t || y[c] - x[c] > t) exit 1
  }' || fail "$name differs: Linux ($a), Windows ($b)"
  echo "$a"
}

# The central 16 x 16 pixels of each 32-pixel marker (the view is 800 units
# wide, one pixel per unit), then four patches of background clear of the
# texts and the orbiters.
background=$(region "background" 100 100 40 40)
region "background top right" 660 100 40 40 >/dev/null
region "background bottom left" 100 460 40 40 >/dev/null
region "background bottom right" 660 460 40 40 >/dev/null
for corner in "8 8" "776 8" "776 576" "8 576"; do
  read -r x y <<<"$corner"
  marker=$(region "marker at $x,$y" "$x" "$y" 16 16)
  # The reference must show a marker there, not background.
  awk -v a="$marker" -v b="$background" 'BEGIN {
    split(a, x, " "); split(b, y, " "); d = 0
    for (c = 1; c <= 3; c++) d += (x[c] > y[c] ? x[c] - y[c] : y[c] - x[c])
    exit !(d > 60)
  }' || fail "no marker at $x,$y in the Linux picture ($marker on $background)"
done
echo "OK: markers and background of the Windows frame match the Linux frame (background $background)"
