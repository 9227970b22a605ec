#!/usr/bin/env bash
# Makes frame/VeskFrame.ico, the window icon that every Windows program built
# with VeskFrame carries as its "GLFW_ICON" resource (frame/VeskFrame.rc.in):
# an orange orbiter circling a dark-green disc, the benchmark's own colours,
# at 16, 24, 32, 48, 64 and 256 pixels. Needs ImageMagick 6 (convert). The
# output is committed, so building never runs this script.
# Usage: tools/make-icon.sh [output file, default frame/VeskFrame.ico]
set -euo pipefail
cd "$(dirname "$0")/.."

out=${1:-frame/VeskFrame.ico}
side=256
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

convert -size ${side}x${side} xc:none \
  -fill 'rgb(0,70,0)' -stroke 'rgb(0,160,40)' -strokewidth 10 -draw 'circle 128,128 128,12' \
  -fill none -stroke 'rgb(125,125,125)' -strokewidth 6 -draw 'circle 128,128 128,58' \
  -fill 'rgb(255,150,20)' -stroke 'rgb(255,255,200)' -strokewidth 6 -draw 'circle 178,78 178,42' \
  "$tmp/icon.png"
# Without the time stamps a second run gives the same bytes.
convert "$tmp/icon.png" -depth 8 -define icon:auto-resize=256,64,48,32,24,16 \
  -define png:exclude-chunks=date,time +set date:create +set date:modify "$out"
