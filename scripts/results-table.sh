#!/usr/bin/env bash
# Prints the benchmark's results file as a table: each test's name, its time
# and its ratio to 4,816 ms, the time of 301 ticks of 16 ms on a machine that
# keeps up with the fixed step (1.00 = kept up; 2.00 = took twice as long).
# Above it, what the run measured on, and below it one line on where the
# sound went, from System.txt beside the results file: the program's own
# facts (GL strings, window, monitor, audio device) and those that
# scripts/benchmark-run.sh adds (system, CPU, cores, sound).
# Usage: scripts/results-table.sh [results file, default Debug.txt]
set -euo pipefail

file=${1:-Debug.txt}
if [ ! -r "$file" ]; then
  echo "results-table: no results file '$file'" >&2
  exit 1
fi
system=$(dirname "$file")/System.txt

# fact KEY : the value of the "KEY: value" line of System.txt, or "".
fact() {
  [ -r "$system" ] || return 0
  sed -n "s/^$1: //p" "$system" | head -n 1
}
# shown KEY : the value, or "unknown".
shown() {
  local value
  value=$(fact "$1")
  echo "${value:-unknown}"
}

if [ -r "$system" ]; then
  echo "Measured on:"
  printf '  %-8s %s, %s\n' System "$(shown os)" "$(shown kernel)"
  printf '  %-8s %s, %s cores\n' CPU "$(shown cpu)" "$(shown cores)"
  printf '  %-8s %s, OpenGL %s\n' GL "$(shown gl-renderer)" "$(shown gl-version)"
  printf '  %-8s window %s (tests 0-7), full screen on a %s monitor (tests 8-14)\n' Display \
    "$(shown window)" "$(shown monitor)"
  echo
fi

awk -v kept_up=4816 '
  BEGIN {
    printf "%-4s %-32s %10s %7s\n", "Test", "Name", "Time (ms)", "Ratio"
    n = 0; total = 0
  }
  # Result lines are "<name> took <milliseconds>"; the two header lines are not.
  match($0, / took [0-9]+$/) {
    name = substr($0, 1, RSTART - 1)
    ms = substr($0, RSTART + 6) + 0
    printf "%-4d %-32s %10d %7.3f\n", n, name, ms, ms / kept_up
    n++; total += ms
  }
  END {
    if (n > 0) printf "%-4s %-32s %10d %7.3f\n", "", "All " n " tests", total, total / (n * kept_up)
    if (n < 15) printf "(%d of 15 tests finished)\n", n
  }' "$file"

device=$(fact audio-device)
case $(fact sound) in
  file)
    echo "Sound: went to $(shown sound-file), $(shown sound-seconds) s (no sound output on this machine)"
    ;;
  played)
    settings=""
    [ -n "$(fact sound-settings)" ] && settings=", with OpenAL Soft as ALSOFT_CONF/ALSOFT_DRIVERS set it"
    echo "Sound: played on ${device:-unknown}$settings"
    ;;
  none) echo "Sound: none (no audio device could be opened)" ;;
  *)
    if [ "$device" = none ]; then
      echo "Sound: none (no audio device could be opened)"
    elif [ -n "$device" ]; then
      echo "Sound: audio device $device (where it went was not recorded)"
    else
      echo "Sound: not recorded (no System.txt beside $file)"
    fi
    ;;
esac
