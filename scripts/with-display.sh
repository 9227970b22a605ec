#!/usr/bin/env bash
# Virtual display step shared by ./run-benchmark and ./run-tests.
# Usage: scripts/with-display.sh COMMAND [ARGS...]
# With DISPLAY set, runs the command on that display. Otherwise starts Xvfb
# (1920x1080x24) on a free display number with openbox as window manager
# (without one, a full-screen window never gets input focus), runs the
# command there, and stops both by their own process ids when it ends, also
# on failure or Ctrl-C. Exits with the command's status.
set -uo pipefail

if [ -n "${DISPLAY:-}" ]; then
  exec "$@"
fi

n=90
while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done

xvfb_pid=""
wm_pid=""
cleanup() {
  [ -n "$wm_pid" ] && kill "$wm_pid" 2>/dev/null && wait "$wm_pid" 2>/dev/null
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
  return 0
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

Xvfb ":$n" -screen 0 1920x1080x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
for _ in $(seq 100); do
  [ -e "/tmp/.X11-unix/X$n" ] && break
  sleep 0.05
done
if [ ! -e "/tmp/.X11-unix/X$n" ]; then
  echo "with-display: Xvfb did not start on :$n" >&2
  exit 1
fi
export DISPLAY=":$n"
openbox >/dev/null 2>&1 &
wm_pid=$!
# Give the window manager a moment to take the screen before windows appear.
for _ in $(seq 50); do
  xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
  sleep 0.1
done

"$@"
status=$?
exit $status
