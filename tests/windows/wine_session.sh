# Helpers of the Wine-driven tests of this folder (sourced after
# tests/authors/session.sh, not run). Each test keeps a Wine prefix of its
# own in its working directory: Wine's desktop process belongs to the
# display it started on, so programs on another test's private display, or
# on none, must not share it. No test touches a user's ~/.wine, and Wine
# prints no diagnostics of its own into the programs' consoles.
# Sourced with the test's own arguments: unless it runs on a private virtual
# display already, it runs the test again on one.
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
source "$here/../authors/session.sh"
use_private_display "$@"

export WINEPREFIX=$PWD/wineprefix
export WINEDEBUG=-all
# No dialogs offering to install Mono or Gecko when the prefix is made.
export WINEDLLOVERRIDES="mscoree,mshtml="

# enter_run_folder FILE... : a fresh folder "run" in the working directory,
# holding copies of the files and folders (a program, OpenAL32.dll, Data),
# made current.
enter_run_folder() {
  rm -rf run
  mkdir run
  cp -r "$@" run/
  cd run
}

# expect_in_order FILE REGEX... : each extended regular expression matches a
# line after the line the one before it matched.
expect_in_order() {
  local file=$1 from=0 at
  shift
  for re in "$@"; do
    at=$(tail -n +$((from + 1)) "$file" | grep -n -m1 -E -- "$re" | cut -d: -f1 || true)
    [ -n "$at" ] || fail "no line matching '$re' after line $from of $file"
    from=$((from + at))
  done
}

# sound_onset WAV : seconds of near silence before the first sound.
sound_onset() {
  local total rest
  total=$(soxi -D "$1")
  rest=$(sox "$1" -n silence 1 0.005 1% stat 2>&1 | awk '/Length \(seconds\)/ { print $3 }')
  awk -v a="$total" -v b="${rest:-0}" 'BEGIN { printf "%.2f\n", a - b }'
}
