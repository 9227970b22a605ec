#!/usr/bin/env bash
# The package step installs what each command uses and says why: with fake
# dpkg-query, id and apt-get on PATH it is asked for routes with some
# packages missing, and prints one line per missing group, asks apt-get for
# each missing package once, and leaves the virtual display out of the
# benchmark's packages when DISPLAY is set.
# Usage: packages_test.sh SOURCE_TREE
set -euo pipefail
src=$1
source "$src/tests/authors/session.sh"
enter_work_folder

mkdir bin
# dpkg-query -W -f=... PACKAGE: installed when PACKAGE is listed in ./installed.
cat >bin/dpkg-query <<FAKE
#!/bin/sh
for last; do :; done
grep -qx "\$last" "$work/installed" && printf 'install ok installed'
exit 0
FAKE
printf '#!/bin/sh\necho "${FAKE_UID:-1000}"\n' >bin/id
printf '#!/bin/sh\necho "$*" >>"%s/apt-get.log"\n' "$work" >bin/apt-get
chmod +x bin/*
export PATH=$work/bin:$PATH

game="build-essential cmake pkg-config libglfw3-dev libgl-dev libopenal-dev libstb-dev liblodepng-dev"

# packages ROUTE [DISPLAY] : runs the step; its output in out.txt, status in $status.
packages() {
  status=0
  DISPLAY=${2:-} bash "$src/scripts/packages.sh" "$1" >out.txt 2>&1 || status=$?
}
apt_line() { sed -n 's/.*apt-get install -y --no-install-recommends //p' out.txt; }
reasons() { grep -c '^  [a-z0-9].*: ' out.txt || true; }

# Nothing installed, a display: the compiler and the libraries, no Xvfb.
: >installed
packages benchmark :7
[ "$status" -eq 1 ] || fail "benchmark: status $status without packages"
[ "$(apt_line)" = "$game" ] || fail "benchmark with a display asks for: $(apt_line)"
[ "$(reasons)" -eq 2 ] || fail "benchmark: expected 2 group lines: $(cat out.txt)"
grep -q '^  build-essential cmake pkg-config: the compiler and CMake' out.txt ||
  fail "no line says why the compiler is needed: $(cat out.txt)"

# No display: the virtual display's group too, with its reason.
packages benchmark
[ "$(apt_line)" = "$game xvfb x11-utils openbox" ] || fail "benchmark without a display: $(apt_line)"
grep -q '^  xvfb x11-utils openbox: .*DISPLAY is not set' out.txt ||
  fail "no line says why the virtual display is needed: $(cat out.txt)"

# Everything but xdotool: one line, one package.
printf '%s\n' $game xvfb x11-utils openbox libgtest-dev libbenchmark-dev sox vorbis-tools \
  fonts-dejavu-core >installed
packages tests :7
[ "$(apt_line)" = xdotool ] || fail "tests with xdotool missing ask for: $(apt_line)"
[ "$(reasons)" -eq 1 ] || fail "tests: expected one group line: $(cat out.txt)"

# A package of two groups is asked for once.
: >installed
packages windows-tests
[ "$(apt_line | tr ' ' '\n' | grep -cx libstb-dev)" -eq 1 ] ||
  fail "windows-tests asks for libstb-dev more than once: $(apt_line)"

# Everything there: silent success.
printf '%s\n' $game >installed
packages game
[ "$status" -eq 0 ] && [ ! -s out.txt ] || fail "game with its packages: status $status, $(cat out.txt)"

# As root it installs the missing packages after saying why.
printf '%s\n' $game >installed
FAKE_UID=0 packages fuzz
[ "$status" -eq 0 ] || fail "fuzz as root: status $status"
grep -q '^  clang libclang-rt-14-dev llvm: ' out.txt || fail "fuzz as root: $(cat out.txt)"
grep -qx 'install -y -qq --no-install-recommends clang libclang-rt-14-dev llvm vorbis-tools' \
  apt-get.log || fail "apt-get was asked: $(cat apt-get.log)"
echo "OK: each route asks for its own packages, each once, and says why"
