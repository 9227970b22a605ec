#!/usr/bin/env bash
# Prints the benchmark's results file as a table: each test's name, its time
# and its ratio to 4,816 ms, the time of 301 ticks of 16 ms on a machine that
# keeps up with the fixed step (1.00 = kept up; 2.00 = took twice as long).
# Usage: scripts/results-table.sh [results file, default Debug.txt]
set -euo pipefail

file=${1:-Debug.txt}
if [ ! -r "$file" ]; then
  echo "results-table: no results file '$file'" >&2
  exit 1
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
