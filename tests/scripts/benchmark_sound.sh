#!/usr/bin/env bash
# Where ./run-benchmark's run (scripts/benchmark-run.sh) sends the sound, on
# any machine: the machine's sound output is faked through OpenAL Soft's own
# per-user configuration ($XDG_CONFIG_HOME/alsoft.conf), which the probe and
# the program both read.
# - No sound output (a backend that does not exist): a short run, quit with
#   Escape during test 1, shows "OpenAL Audio Engaged!" and no audio error,
#   and its Sound.wav holds 16-bit sound above silence for the length that
#   the table's last line states.
# - Sound output (OpenAL Soft's silent device): the run plays on it, no WAV
#   file is made, and the table says where the sound played.
# - A run killed before it could close its device: the table's length is
#   still the length of the sound in the file.
# - ALSOFT_CONF set by the user: left alone; the user's own wave file gets
#   the sound and the script makes none. ALSOFT_DRIVERS naming no backend:
#   the run is silent, and the table says so.
# Usage: benchmark_sound.sh SOURCE_TREE BENCHMARK SOUND_PROBE
set -euo pipefail
src=$1
benchmark=$2
probe=$3
source "$src/tests/authors/session.sh"
use_private_display "$@"
unset ALSOFT_CONF ALSOFT_DRIVERS # ctest's silent device is not a user's setting

# start_run NAME DRIVERS [VAR=value...] : a fresh folder run/NAME with the data
# and an OpenAL Soft user configuration naming DRIVERS; starts the run there
# (output in console.txt) with the extra environment.
start_run() {
  local name=$1 drivers=$2
  shift 2
  cd "$base"
  rm -rf "$name"
  mkdir -p "$name/config"
  cd "$name"
  ln -s "$src/Data" Data
  printf '[general]\ndrivers = %s\n' "$drivers" >config/alsoft.conf
  start_game console.txt env XDG_CONFIG_HOME="$PWD/config" "$@" \
    bash "$src/scripts/benchmark-run.sh" "$benchmark" "$probe"
}

quit_run() {
  xdotool search --name '^This is a test$' windowactivate --sync >/dev/null 2>&1 || true
  quit_with_escape
}

expect_clean_audio() {
  grep -q 'OpenAL Audio Engaged!' console.txt || fail "no 'OpenAL Audio Engaged!': $(cat console.txt)"
  if grep -E 'Error [0-9]+|Error Opening|Audio Device Error|Audio Context Issue|Error with Audio|ALSA lib|AL lib' \
    console.txt; then
    fail "the run reported audio errors"
  fi
}

enter_work_folder
base=$PWD

# ---- No sound output ----
start_run no-output no-such-backend
wait_for_lines Debug.txt 3 90 # test 0 has finished: test 1 runs
quit_run
expect_clean_audio
grep -q "No sound output on this machine: the run's sound goes to Sound.wav" console.txt ||
  fail "the script did not say where the sound goes"
last=$(tail -n 1 console.txt)
[[ $last =~ ^Sound:\ went\ to\ Sound\.wav,\ ([0-9]+\.[0-9])\ s\ \(no\ sound\ output ]] ||
  fail "the table does not end with the sound file's line: '$last'"
stated=${BASH_REMATCH[1]}
grep -qx "sound-seconds: $stated" System.txt || fail "System.txt does not hold $stated s"
[ -f Sound.wav ] || fail "no Sound.wav"
[ "$(sox --i -b Sound.wav)" = 16 ] || fail "Sound.wav is not 16-bit"
length=$(sox --i -D Sound.wav)
peak=$(sox Sound.wav -n stat 2>&1 | awk '/Maximum amplitude/ { print $3 }')
awk -v l="$length" -v s="$stated" 'BEGIN { exit !(l - s < 0.06 && s - l < 0.06) }' ||
  fail "Sound.wav lasts $length s, the table says $stated s"
# Loading and test 0 (4.8 s) came before Escape; test 0 ended with a chime.
awk -v s="$stated" 'BEGIN { exit !(s >= 4.8) }' || fail "$stated s is shorter than test 0"
awk -v p="$peak" 'BEGIN { exit !(p > 0.05) }' || fail "Sound.wav is silent (peak $peak)"

# ---- No sound output, the program killed: the WAV sizes are never filled in ----
start_run killed no-such-backend
wait_for_lines System.txt 5 90
sleep 1
pid=$(xdotool search --name '^This is a test$' getwindowpid 2>/dev/null | head -n 1)
[ -n "$pid" ] || fail "no benchmark window to kill"
kill -9 "$pid"
status=0
wait "$GAME_PID" || status=$?
[ "$status" -eq 137 ] || fail "the run's status is $status, not the killed program's 137"
[[ $(tail -n 1 console.txt) =~ ^Sound:\ went\ to\ Sound\.wav,\ ([0-9]+\.[0-9])\ s ]] ||
  fail "no sound line after a killed run: '$(tail -n 1 console.txt)'"
stated=${BASH_REMATCH[1]}
length=$(sox Sound.wav -n stat 2>&1 | awk '/Length \(seconds\)/ { print $3 }')
awk -v l="$length" -v s="$stated" 'BEGIN { exit !(s > 0.5 && l - s < 0.06 && s - l < 0.06) }' ||
  fail "the killed run's Sound.wav holds $length s, the table says $stated s"

# ---- Sound output ----
start_run output null
wait_for_lines System.txt 5 90
quit_run
expect_clean_audio
[ ! -e Sound.wav ] || fail "a WAV file was made although the machine has sound output"
grep -q 'No sound output' console.txt && fail "the script took the no-output branch"
[ "$(tail -n 1 console.txt)" = "Sound: played on $(sed -n 's/^audio-device: //p' System.txt)" ] ||
  fail "the table does not say where the sound played: '$(tail -n 1 console.txt)'"
grep -qx 'sound: played' System.txt || fail "System.txt: $(cat System.txt)"

# ---- The user's own OpenAL Soft settings ----
printf '[general]\ndrivers = wave\n[wave]\nfile = %s\n' "$base/user.wav" >"$base/user.conf"
start_run user no-such-backend ALSOFT_CONF="$base/user.conf"
wait_for_lines System.txt 5 90
quit_run
expect_clean_audio
[ -s "$base/user.wav" ] || fail "the user's ALSOFT_CONF was not followed"
[ ! -e Sound.wav ] || fail "the script made its own WAV file over the user's settings"
tail -n 1 console.txt | grep -q 'as ALSOFT_CONF/ALSOFT_DRIVERS set it' ||
  fail "the table does not name the user's settings: '$(tail -n 1 console.txt)'"

start_run user-off null ALSOFT_DRIVERS=no-such-backend
wait_for_lines System.txt 5 90
quit_run
grep -q 'Audio Device Error' console.txt || fail "the program found a device: $(cat console.txt)"
[ "$(tail -n 1 console.txt)" = "Sound: none (no audio device could be opened)" ] ||
  fail "the table does not say the run was silent: '$(tail -n 1 console.txt)'"
echo "OK: no output goes to Sound.wav, output plays, the user's settings stay"
