#!/usr/bin/env bash
# Measures the framework's frame beside the floor of its own drawing method
# and beside other 2D libraries, all drawing the scene of bench/peers/Scene.h:
# N tinted, alpha-blended 40 x 40 sprites from one 512 x 512 texture.
# Builds bench/peers (Release) into build-peers/, then, on a private virtual
# display, runs every program on every case once per round, the programs of
# a case in an order that turns from round to round, and prints one table:
# the wall-clock ms/frame of every round, their median and its ratio to the
# floor's median for the same case, then the same median and ratio of the
# CPU time the program's own threads spent per frame (other load on the
# machine stretches the wall time, hardly the CPU time).
# Usage: scripts/compare-peers.sh [ROUNDS [PROGRAM...]]   (default 3 rounds,
# every program; named programs run with the floor beside them)
# The machine's other load shows in the figures: run it on a quiet machine
# and compare only figures of one run.
set -euo pipefail
cd "$(dirname "$0")/.."

programs_known="framework floor sdl2 sfml sfml-array love"

if [ "${1:-}" != --on-display ]; then
  rounds=${1:-3}
  unknown=
  for program in "${@:2}"; do
    [[ " $programs_known " == *" $program "* ]] || unknown=$program
  done
  if ! [[ "$rounds" =~ ^[1-9][0-9]*$ ]] || [ -n "$unknown" ]; then
    echo "usage: scripts/compare-peers.sh [ROUNDS [PROGRAM...]]" >&2
    echo "programs: $programs_known" >&2
    exit 2
  fi
  scripts/packages.sh peers
  cmake -S bench/peers -B build-peers -DCMAKE_BUILD_TYPE=Release >/dev/null
  cmake --build build-peers -j2 >/dev/null
  exec scripts/with-display.sh "$0" --on-display "$rounds" "${@:2}"
fi
rounds=$2
named=" ${*:3} "

# Case: MODE SPRITES, then the programs that draw it. A program is a command
# that takes SPRITES and the mode; "sfml" and "sfml-array" pass theirs.
cases=(
  "window 1500|framework floor sdl2 sfml sfml-array love"
  "window 5000|framework floor sdl2 sfml sfml-array love"
  "window 10000|framework floor sdl2 sfml sfml-array love"
  "full 10000|framework floor"
  "alt 1500|framework floor"
)

run() {  # PROGRAM MODE SPRITES: prints the wall and CPU ms/frame, or "failed failed"
  local program=$1 mode=$2 n=$3 line
  case $program in
    framework) line=$(ALSOFT_DRIVERS=null timeout 600 build-peers/scene_framework "$n" "$mode" 2>/dev/null | grep '^result') ;;
    floor) line=$(timeout 600 build-peers/scene_floor "$n" "$mode" 2>/dev/null | grep '^result') ;;
    sdl2) line=$(timeout 600 build-peers/scene_sdl2 "$n" window 2>/dev/null | grep '^result') ;;
    sfml) line=$(timeout 600 build-peers/scene_sfml "$n" sprites 2>/dev/null | grep '^result') ;;
    sfml-array) line=$(timeout 600 build-peers/scene_sfml "$n" array 2>/dev/null | grep '^result') ;;
    love) line=$(timeout 600 love bench/peers/love "$n" 2>/dev/null | grep '^result') ;;
  esac
  if [ -n "${line:-}" ]; then echo "$line" | cut -d' ' -f5-6; else echo failed failed; fi
}

results=$(mktemp)
trap 'rm -f "$results"' EXIT

echo "Machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //'),"\
  "$(awk '/MemTotal/ {printf "%.0f GiB", $2 / 1048576}' /proc/meminfo),"\
  "$(. /etc/os-release && echo "$PRETTY_NAME"); display $DISPLAY"
echo "Load at start: $(cut -d' ' -f1-3 /proc/loadavg)"
for round in $(seq "$rounds"); do
  for entry in "${cases[@]}"; do
    read -r mode n <<<"${entry%%|*}"
    programs=()
    for program in ${entry#*|}; do
      if [ "$named" = "  " ] || [ "$program" = floor ] || [[ "$named" == *" $program "* ]]; then
        programs+=("$program")
      fi
    done
    count=${#programs[@]}
    for i in $(seq 0 $((count - 1))); do
      program=${programs[$(((i + round - 1) % count))]}
      echo "$mode $n $program $round $(run "$program" "$mode" "$n")" >>"$results"
    done
  done
  echo "Round $round of $rounds done, load $(cut -d' ' -f1-3 /proc/loadavg)" >&2
done
echo "Load at end: $(cut -d' ' -f1-3 /proc/loadavg)"
echo

# One row per case and program: every round's wall figure, then the medians
# and their ratios to the floor's.
awk '
  function median(list, n,    sorted, i, j, t) {
    for (i = 1; i <= n; i++) sorted[i] = list[i]
    for (i = 2; i <= n; i++)
      for (j = i; j > 1 && sorted[j - 1] > sorted[j]; j--) {
        t = sorted[j]; sorted[j] = sorted[j - 1]; sorted[j - 1] = t
      }
    return n % 2 ? sorted[(n + 1) / 2] : (sorted[n / 2] + sorted[n / 2 + 1]) / 2
  }
  function ratio(a, b) { return (a > 0 && b > 0) ? sprintf("%.3f", a / b) : "-" }
  function shown(a) { return a > 0 ? sprintf("%.2f", a) : "failed" }
  {
    name = $1 " " $2; key = name SUBSEP $3
    if (!(name in seenCase)) { seenCase[name] = 1; caseOrder[++cases] = name }
    if (!(key in seen)) { seen[key] = 1; progs[name] = progs[name] " " $3 }
    figures[key] = figures[key] (figures[key] == "" ? "" : " ") $5
    if ($5 != "failed") { good[key]++; wall[key, good[key]] = $5 + 0; cpu[key, good[key]] = $6 + 0 }
  }
  END {
    printf "%-13s %-11s %-28s %8s %7s %8s %7s\n", "Case", "Program", "Wall ms/frame by round",
      "Median", "/floor", "CPU ms", "/floor"
    for (c = 1; c <= cases; c++) {
      name = caseOrder[c]
      n = split(substr(progs[name], 2), list, " ")
      for (p = 1; p <= n; p++) {
        key = name SUBSEP list[p]
        mw[key] = mc[key] = -1
        if (good[key] > 0) {
          for (i = 1; i <= good[key]; i++) { w[i] = wall[key, i]; u[i] = cpu[key, i] }
          mw[key] = median(w, good[key]); mc[key] = median(u, good[key])
        }
      }
      f = name SUBSEP "floor"
      for (p = 1; p <= n; p++) {
        key = name SUBSEP list[p]
        printf "%-13s %-11s %-28s %8s %7s %8s %7s\n", (p == 1 ? name : ""), list[p], figures[key],
          shown(mw[key]), ratio(mw[key], mw[f]), shown(mc[key]), ratio(mc[key], mc[f])
      }
    }
  }' "$results"
