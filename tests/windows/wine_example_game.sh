#!/usr/bin/env bash
# The example game under Wine: it opens its window, loads its sheets and
# sounds, and quits with status 0 on Escape.
# Usage: wine_example_game.sh EXAMPLE_EXE OPENAL_DLL SOURCE_TREE
set -euo pipefail
source "$(dirname "$0")/wine_session.sh"
enter_run_folder "$1" "$2" "$3/examples/Data"
export ALSOFT_DRIVERS=null

start_game console.log wine ./"$(basename "$1")"
wait_for_window "Star Catcher" >/dev/null
quit_with_escape
tr -d '\r' <console.log >console.txt
[ "$(grep -c 'Loaded Spritesheet of 32x32 sprites' console.txt)" -eq 2 ] ||
  fail "the sprite and font sheets did not both load"
[ "$(grep -c '> *Load [0-9]* bytes$' console.txt)" -eq 3 ] || fail "not all three sound effects loaded"
grep -q '^Farewell happy gamer$' console.txt || fail "no normal shutdown"
echo "OK: the example game ran and quit under Wine"
