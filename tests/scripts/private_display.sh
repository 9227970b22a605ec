#!/usr/bin/env bash
# The tests never reach a developer's own desktop. DISPLAY points at a
# sentinel display that must not be touched (an Xvfb that logs every client
# that connects to it); then a display test program runs as ctest starts it,
# and a shell test is started by hand. Both run on private displays of their
# own and pass, and no client ever connects to the sentinel. Last, one
# client does connect, to show that the sentinel would have seen the others.
# Usage: private_display.sh SOURCE_TREE DISPLAY_TEST_PROGRAM
#        private_display.sh --by-hand SOURCE_TREE   (the shell test)
set -euo pipefail

if [ "$1" = --by-hand ]; then
  source "$2/tests/authors/session.sh"
  use_private_display "$@"
  echo "display $DISPLAY"
  xdotool getdisplaygeometry
  exit 0
fi

src=$1
program=$2
source "$src/tests/authors/session.sh"

sentinel_pid=""
stop_sentinel() {
  if [ -n "$sentinel_pid" ]; then
    kill "$sentinel_pid" 2>/dev/null && wait "$sentinel_pid" 2>/dev/null
    sentinel_pid=""
  fi
  return 0
}
trap stop_sentinel EXIT

rm -f number
Xvfb -displayfd 3 -audit 4 -screen 0 640x480x24 -nolisten tcp 3>number 2>sentinel.log &
sentinel_pid=$!
n=""
for _ in $(seq 200); do
  n=$(tr -dc '0-9' <number)
  [ -n "$n" ] && break
  sleep 0.05
done
[ -n "$n" ] || fail "the sentinel Xvfb did not start"
sentinel=":$n"
export DISPLAY=$sentinel
unset VF_PRIVATE_DISPLAY

connections() { grep -c 'client [0-9]* connected' sentinel.log || true; }

LD_PRELOAD=$GAME_PRELOAD "$src/scripts/with-display.sh" "$program" >program.log 2>&1 ||
  fail "the display test failed with DISPLAY=$sentinel set (see $PWD/program.log)"
bash "$0" --by-hand "$src" >by-hand.log 2>&1 ||
  fail "the shell test failed with DISPLAY=$sentinel set (see $PWD/by-hand.log)"
grep -q '^display :' by-hand.log || fail "the shell test did not report its display"
grep -q "^display $sentinel\$" by-hand.log && fail "the shell test ran on the sentinel display"
grep -q '^640 480$' by-hand.log && fail "the shell test saw the sentinel's screen size"
[ "$(connections)" -eq 0 ] || fail "clients connected to the sentinel display: $(cat sentinel.log)"

# The sentinel logs a client that does connect.
xdotool getdisplaygeometry >/dev/null
sleep 0.5
[ "$(connections)" -eq 1 ] || fail "the sentinel display did not log a client"
echo "OK: no test touched DISPLAY=$sentinel"
