# Helpers shared by the shell-driven tests of this folder (sourced, not run).
# A game runs in the background on the virtual display; keys and clicks are
# sent with xdotool as a player would: press, hold for some frames, release
# (the framework samples keys once per update step, so a bare key tap can
# fall between two polls).

# use_private_display ARGS... : the script runs again, with the same
# arguments, on a private virtual display of its own unless it already runs
# on one (ctest starts it there; by hand on a desktop it would not), so its
# games never draw on, or take keys from, a user's screen. Call it with "$@".
use_private_display() {
  if [ -z "${VF_PRIVATE_DISPLAY:-}" ] || [ "$VF_PRIVATE_DISPLAY" != "${DISPLAY:-}" ]; then
    exec env LD_PRELOAD="$GAME_PRELOAD" \
      "$(dirname "${BASH_SOURCE[0]}")/../../scripts/with-display.sh" bash "$0" "$@"
  fi
}

# enter_work_folder : makes a fresh "run" folder in the test's working
# directory the current one, and its path $work.
enter_work_folder() {
  work=$PWD/run
  rm -rf "$work"
  mkdir -p "$work"
  cd "$work"
}

# Fails the test with a message.
fail() {
  echo "FAIL: $*" >&2
  exit 1
}

# The sanitizer settings that ctest passes (LD_PRELOAD keeps the software GL
# driver loaded) are for the game alone; compilers and tools run without.
GAME_PRELOAD=${LD_PRELOAD:-}
unset LD_PRELOAD

# start_game LOG PROGRAM... : starts the game in the background; sets GAME_PID.
# A game still running when the script ends (a failed check) is stopped.
GAME_PID=""
start_game() {
  local log=$1
  shift
  LD_PRELOAD=$GAME_PRELOAD "$@" >"$log" 2>&1 &
  GAME_PID=$!
  trap stop_game EXIT
}
stop_game() {
  if [ -n "$GAME_PID" ] && kill -0 "$GAME_PID" 2>/dev/null; then
    kill "$GAME_PID" 2>/dev/null
    wait "$GAME_PID" 2>/dev/null
  fi
  return 0
}

# wait_for_lines FILE N SECONDS : until FILE holds at least N lines.
wait_for_lines() {
  for _ in $(seq $(($3 * 10))); do
    [ -f "$1" ] && [ "$(wc -l <"$1")" -ge "$2" ] && return 0
    kill -0 "$GAME_PID" 2>/dev/null || fail "the program ended before $1 held $2 lines"
    sleep 0.1
  done
  fail "$1 did not reach $2 lines in $3 s"
}

# wait_for_window TITLE : waits until the game's final window is up and has
# drawn some frames; prints its window id.
wait_for_window() {
  local title=$1 id=""
  for _ in $(seq 100); do
    kill -0 "$GAME_PID" 2>/dev/null || fail "the game ended before its window appeared"
    id=$(xdotool search --onlyvisible --name "^$title\$" 2>/dev/null | tail -1 || true)
    # Start-up opens a small first window and then the 800 x 600 one.
    if [ -n "$id" ] && xdotool getwindowgeometry "$id" 2>/dev/null | grep -q 'Geometry: 800x600'; then
      sleep 1.5
      echo "$id"
      return 0
    fi
    sleep 0.2
  done
  fail "no 800x600 window titled '$title' appeared"
}

# hold_key KEY SECONDS
hold_key() {
  xdotool keydown "$1"
  sleep "$2"
  xdotool keyup "$1"
}

# quit_with_escape : holds Escape until the game ends (at most about 10 s)
# and fails unless it ends with status 0.
quit_with_escape() {
  for _ in $(seq 20); do
    kill -0 "$GAME_PID" 2>/dev/null || break
    hold_key Escape 0.3
    sleep 0.2
  done
  local status=0
  wait "$GAME_PID" || status=$?
  [ "$status" -eq 0 ] || fail "the game ended with status $status"
}
