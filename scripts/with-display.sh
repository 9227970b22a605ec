#!/usr/bin/env bash
# Virtual display step shared by ./run-benchmark and the tests.
# Usage: scripts/with-display.sh [--user-display] [--screen WxH] COMMAND [ARGS...]
# Starts Xvfb (1920x1080x24, or the --screen size) on a free display number
# with openbox as window manager (without one, a full-screen window never
# gets input focus), runs the command there with DISPLAY pointing at it and
# VF_PRIVATE_DISPLAY set to the same value, and stops both by their own
# process ids when it ends, also on failure or Ctrl-C. Exits with the
# command's status. A DISPLAY already set is never used, so no test ever
# draws on, or types into, a user's screen; only --user-display (the
# benchmark run) takes the user's display when there is one.
set -uo pipefail

user_display=0
screen=1920x1080
while [ $# -gt 0 ]; do
  case $1 in
    --user-display) user_display=1; shift ;;
    --screen) screen=$2; shift 2 ;;
    *) break ;;
  esac
done

if [ -n "${DISPLAY:-}" ] && [ "$user_display" -eq 1 ]; then
  exec "$@"
fi

xvfb_pid=""
wm_pid=""
numfile=$(mktemp)
cleanup() {
  [ -n "$wm_pid" ] && kill "$wm_pid" 2>/dev/null && wait "$wm_pid" 2>/dev/null
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
  rm -f "$numfile"
  return 0
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

# Xvfb picks a free display number itself and writes it to fd 3, so two
# scripts started at once never share a display.
Xvfb -displayfd 3 -screen 0 "${screen}x24" -nolisten tcp 3>"$numfile" >/dev/null 2>&1 &
xvfb_pid=$!
n=""
for _ in $(seq 200); do
  n=$(tr -dc '0-9' <"$numfile")
  [ -n "$n" ] && break
  kill -0 "$xvfb_pid" 2>/dev/null || break
  sleep 0.05
done
if [ -z "$n" ]; then
  echo "with-display: Xvfb did not start" >&2
  exit 1
fi
export DISPLAY=":$n"
export VF_PRIVATE_DISPLAY=$DISPLAY
openbox >/dev/null 2>&1 &
wm_pid=$!
# The window manager must own the screen before windows appear: without
# one, a full-screen window never gets the input focus.
wm_up=0
for _ in $(seq 200); do
  if xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; then
    wm_up=1
    break
  fi
  kill -0 "$wm_pid" 2>/dev/null || break
  sleep 0.1
done
if [ "$wm_up" -ne 1 ]; then
  echo "with-display: the openbox window manager did not start on $DISPLAY" >&2
  exit 1
fi

"$@"
status=$?
exit $status
