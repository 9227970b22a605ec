#!/usr/bin/env bash
# Records the example game played for about 20 s on the virtual display,
# then replays the recording twice without input, the second time beside
# two CPU-burning processes so that the loop catches up differently. Both
# replays must draw every step as recorded (the same per-step checksums, no
# desync reported) and end with the same score. A copy with one input value
# changed must report its desync at that step.
# Usage: replay_example.sh EXAMPLE_GAME SESSION_TOOL SOURCE_TREE
set -euo pipefail
game=$1
tool=$2
src=$3
here=$(cd "$(dirname "$0")" && pwd)
source "$here/session.sh"

game_number=2
mouse_x_word=129  # the input block's word of pointer 0's x (after the 128 buttons)

enter_work_folder
cp -r "$src/examples/Data" .

# ---- Play and record ----
start_game play.log "$game" --record play.vfr
wid=$(wait_for_window "Star Catcher")
for round in 1 2 3 4; do
  hold_key Right 1.5
  xdotool mousemove --window "$wid" $((150 * round)) 250 mousedown 1 sleep 0.3 mouseup 1
  hold_key Left 1.5
  xdotool mousemove --window "$wid" 400 $((100 * round)) sleep 0.5
  hold_key space 0.3
  sleep 0.5
done
quit_with_escape
grep -q 'Recorded [0-9]* steps to play.vfr' play.log || fail "no recording made (see $work/play.log)"
"$tool" sums $game_number play.vfr >play.sums || fail "the recording does not read back"
steps=$(grep -c '^[0-9]' play.sums)
[ "$steps" -gt 200 ] || fail "only $steps steps recorded"

# ---- Replays ----
replay() { # NAME [burn]: replays play.vfr, recording the replay to NAME.vfr
  local burners=()
  if [ "${2:-}" = burn ]; then
    for _ in 1 2; do
      (while :; do :; done) &
      burners+=($!)
    done
  fi
  start_game "$1.log" "$game" --replay play.vfr --record "$1.vfr"
  local status=0
  wait "$GAME_PID" || status=$?
  for pid in "${burners[@]}"; do kill "$pid"; done
  [ "$status" -eq 0 ] || fail "replay $1 ended with status $status"
  grep -q 'Replay of play.vfr stopped after step' "$1.log" || fail "replay $1 did not end its replay"
  if grep 'desync' "$1.log"; then fail "replay $1 reported a desync"; fi
  "$tool" sums $game_number "$1.vfr" >"$1.sums" || fail "the recording of replay $1 does not read"
  cmp -s play.sums "$1.sums" || fail "replay $1 drew other steps: diff play.sums $1.sums"
}
replay quiet
replay busy burn
score() { sed -n 's/.*> Final score: \([0-9]*\)$/\1/p' "$1"; }
[ -n "$(score play.log)" ] || fail "no final score"
for run in quiet busy; do
  [ "$(score $run.log)" = "$(score play.log)" ] ||
    fail "replay $run scored $(score $run.log), the recorded game $(score play.log)"
done

# ---- One input value changed ----
at=$((steps / 2))
"$tool" alter $game_number play.vfr altered.vfr $at $mouse_x_word 0xC49A5000 # -1234.5
start_game altered.log "$game" --replay altered.vfr
wait "$GAME_PID" || fail "the altered replay ended with a failure"
grep -q "> Replay desync at step $at: its draw commands differ from the recording$" altered.log ||
  fail "no desync reported at step $at (see $work/altered.log)"
[ "$(grep -c 'desync' altered.log)" -eq 1 ] || fail "more than the first desync reported"

size=$(stat -c %s play.vfr)
echo "OK: $steps steps recorded in $size bytes, replayed twice alike, a change found at step $at"
