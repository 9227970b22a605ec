#!/usr/bin/env bash
# The run of ./run-benchmark, in the current folder (which holds Data/1):
# decides where the sound goes, runs the benchmark on the user's display (a
# private virtual one when there is none), adds the machine and the sound to
# the program's System.txt and prints the results table.
#
# Sound. When ALSOFT_CONF or ALSOFT_DRIVERS is set, OpenAL Soft is left to
# the user's settings. Otherwise the probe asks OpenAL for its default output
# device, as the program will at start-up. When none opens, the machine has
# no sound output: OpenAL Soft, for the program alone, is pointed at its
# wave-file writer (a configuration file and ALSOFT_DRIVERS=wave), so the
# program gets a device and the mix of the whole run lands in Sound.wav,
# 16-bit stereo at 44,100 Hz. With sound output it plays as it always does.
# The program itself reads no environment variable.
# Usage: scripts/benchmark-run.sh BENCHMARK SOUND_PROBE
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
benchmark=$1
probe=$2

sound_file=Sound.wav
conf=""
trap '[ -z "$conf" ] || rm -f "$conf"' EXIT

# number FILE OFFSET BYTES : the little-endian unsigned number of 2 or 4
# bytes at OFFSET.
number() { od -An -tu"$3" -j "$2" -N"$3" "$1" | tr -d ' '; }

# wav_seconds FILE : the length of a WAV file's sound in seconds, one
# decimal, from its format chunk and its data; also right for a file whose
# writer was stopped before it could fill in the sizes.
wav_seconds() {
  local file=$1 size offset=12 id chunk rate=0 align=0 bytes
  size=$(stat -c %s "$file")
  while [ $((offset + 8)) -le "$size" ]; do
    id=$(dd if="$file" bs=1 skip="$offset" count=4 2>/dev/null)
    chunk=$(number "$file" $((offset + 4)) 4)
    if [ "$id" = "fmt " ]; then
      rate=$(number "$file" $((offset + 12)) 4)
      align=$(number "$file" $((offset + 20)) 2)
    elif [ "$id" = data ] && [ "$rate" -gt 0 ] && [ "$align" -gt 0 ]; then
      bytes=$((size - offset - 8))
      [ "$chunk" -lt "$bytes" ] && bytes=$chunk
      awk -v b="$bytes" -v r="$rate" -v a="$align" 'BEGIN { printf "%.1f\n", b / a / r }'
      return 0
    fi
    offset=$((offset + 8 + chunk + chunk % 2))
  done
  echo 0.0
}

rm -f Debug.txt System.txt "$sound_file"
route=device
openal=()
if [ -n "${ALSOFT_CONF+set}" ] || [ -n "${ALSOFT_DRIVERS+set}" ]; then
  route=user
elif ! "$probe" >/dev/null 2>&1; then
  route=file
  conf=$(mktemp)
  printf '[general]\ndrivers = wave\nchannels = stereo\nsample-type = int16\nfrequency = 44100\n[wave]\nfile = %s\n' \
    "$sound_file" >"$conf"
  openal=(ALSOFT_CONF="$conf" ALSOFT_DRIVERS=wave)
  echo "No sound output on this machine: the run's sound goes to $sound_file"
fi

env "${openal[@]}" "$here/with-display.sh" --user-display "$benchmark"
status=$?

# What the program could not know itself, beside what it wrote.
device=$(sed -n 's/^audio-device: //p' System.txt 2>/dev/null)
{
  echo "os: $(. /etc/os-release && echo "$PRETTY_NAME")"
  echo "kernel: $(uname -sr) $(uname -m)"
  cpu=$(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -n 1)
  echo "cpu: ${cpu:-unknown}"
  echo "cores: $(nproc)"
  if [ "$device" = none ]; then
    echo "sound: none"
  elif [ "$route" = file ]; then
    echo "sound: file"
    echo "sound-file: $sound_file"
    echo "sound-seconds: $([ -f "$sound_file" ] && wav_seconds "$sound_file" || echo 0.0)"
  else
    echo "sound: played"
    [ "$route" = user ] && echo "sound-settings: ALSOFT_CONF/ALSOFT_DRIVERS of the user"
  fi
} >>System.txt

# The results table, also after a run quit early; the program's status stays.
echo
"$here/results-table.sh" Debug.txt
exit $status
