#!/usr/bin/env bash
# Makes the seed corpora of the fuzz targets, from nothing:
#   fuzz/make-seeds.sh <fuzz_seed_writer program> <output folder>
# The seed writer makes the WAV, PNG and string seeds; the Ogg Vorbis seeds
# are encoded here with oggenc from the WAV files it leaves in ogg-source/.
# The folder is emptied first; one subfolder per target.
set -euo pipefail
writer=$1
out=$2

rm -rf "$out"
mkdir -p "$out"/sound "$out"/music "$out"/images "$out"/strings "$out"/recording "$out"/ogg-source
"$writer" "$out"

# Control bytes of the music target: bit 0 Ogg, bit 1 loop, bits 2-5 refills,
# bit 6 checksums recomputed.
ogg_once=$'\x0d'   # Ogg, 3 refills
ogg_loop=$'\x4f'   # Ogg, loop, 3 refills, checksums recomputed
for wav in "$out"/ogg-source/*.wav; do
  name=$(basename "$wav" .wav)
  ogg="$out/ogg-source/$name.ogg"
  oggenc -Q -q 0 -o "$ogg" "$wav"
  { printf '%s' "$ogg_once"; cat "$ogg"; } >"$out/music/ogg-$name.bin"
  { printf '%s' "$ogg_loop"; cat "$ogg"; } >"$out/music/ogg-$name-loop.bin"
done
rm -rf "$out"/ogg-source

for target in sound music images strings recording; do
  echo "$target: $(find "$out/$target" -type f | wc -l) seeds, $(du -sk "$out/$target" | cut -f1) KiB"
done
