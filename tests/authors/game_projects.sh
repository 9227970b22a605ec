#!/usr/bin/env bash
# Builds the tiny game of README.md in the three ways
# the page shows, from the page's own files: with the framework as a
# subfolder, and against the built library installed into a temporary prefix
# with find_package and with pkg-config. Each build then runs on the virtual
# display, must draw its ball under the pointer (checked in a screenshot) and
# quit on Escape. The example game is also built against the installed package.
# Usage: game_projects.sh BUILD_TREE SOURCE_TREE CXX_COMPILER PNG_PROBE
set -euo pipefail
build=$1
src=$2
export CXX=$3
probe=$4
here=$(cd "$(dirname "$0")" && pwd)
source "$here/session.sh"
use_private_display "$@"

enter_work_folder

# ---- Install ----
prefix=$work/prefix
cmake --install "$build" --prefix "$prefix" >install.log
header=$prefix/include/veskframe/VeskFrame.h
[ -f "$header" ] || fail "VeskFrame.h is not installed"
cmp -s "$header" "$src/include/VeskFrame.h" || fail "the installed VeskFrame.h differs from include/"
find "$prefix" -name libveskframe.a | grep -q . || fail "libveskframe.a is not installed"
# Only the library, its one header and the package files: no internal header,
# no program, no test.
unexpected=$(find "$prefix" -type f ! -name libveskframe.a ! -name VeskFrame.h \
  ! -name 'VeskFrame*.cmake' ! -name veskframe.pc)
[ -z "$unexpected" ] || fail "installed more than the package: $unexpected"
# The public header compiles on its own, without any framework include path.
echo '#include "VeskFrame.h"' | "$CXX" -std=c++17 -fsyntax-only -I"$prefix/include/veskframe" \
  -x c++ - || fail "the installed header does not compile on its own"
# The package gives a game VeskFrame's include folder and what it links:
# no sanitizer flag, no include folder of the framework's own dependencies.
leaks=$(grep -rlE -e '-fsanitize|include/(AL|stb)' --include='*.cmake' --include='*.pc' "$prefix" ||
  true)
[ -z "$leaks" ] || fail "the installed package names sanitizer flags or dependency folders: $leaks"

# ---- The page's files ----
# Each file is the fenced block that follows a "<!-- file: NAME -->" line.
page=$src/README.md
awk -v out="$work/page" '
  /^<!-- file: .* -->$/ { name = $3; next }
  name != "" && /^```/ { if (writing) { writing = 0; name = "" } else { writing = 1;
                         file = out "/" name; system("mkdir -p \"$(dirname \"" file "\")\"");
                         printf "" > file } next }
  writing { print >> file }
' "$page"
for f in mygame.cpp subfolder/CMakeLists.txt installed/CMakeLists.txt pkgconfig/Makefile; do
  [ -s "page/$f" ] || fail "the page has no block for $f"
done

# run_game LOG PROGRAM: the ball (orange, 40 units wide) follows the pointer.
run_game() {
  start_game "$1" "$2"
  local wid
  wid=$(wait_for_window "My game")
  xdotool mousemove --window "$wid" 200 150
  hold_key F10 0.5
  sleep 0.3
  quit_with_escape
  grep -q '^Farewell happy gamer$' "$1" || fail "$2 did not shut down normally"
  local n x y
  read -r n x y < <("$probe" colour Screenshot.png 255 200 0 12)
  [ "$n" -gt 800 ] && [ "$x" -gt 190 ] && [ "$x" -lt 210 ] && [ "$y" -gt 140 ] && [ "$y" -lt 160 ] ||
    fail "$2 did not draw its ball at the pointer ($n pixels around ($x, $y))"
  rm Screenshot.png
}

# ---- Subfolder ----
# The game's project holds the framework's source tree as veskframe/.
mkdir with-subfolder
cp page/mygame.cpp page/subfolder/CMakeLists.txt with-subfolder/
ln -s "$src" with-subfolder/veskframe
cmake -S with-subfolder -B with-subfolder/build >with-subfolder.log ||
  fail "configuring with the framework as a subfolder failed (see $work/with-subfolder.log)"
cmake --build with-subfolder/build -j2 >>with-subfolder.log 2>&1 ||
  fail "building with the framework as a subfolder failed (see $work/with-subfolder.log)"
run_game with-subfolder-run.log with-subfolder/build/mygame

# ---- find_package ----
mkdir with-cmake
cp page/mygame.cpp page/installed/CMakeLists.txt with-cmake/
cmake -S with-cmake -B with-cmake/build -DCMAKE_PREFIX_PATH="$prefix" \
  -DCMAKE_EXPORT_COMPILE_COMMANDS=ON >with-cmake.log ||
  fail "configuring against the installed package failed (see $work/with-cmake.log)"
cmake --build with-cmake/build >>with-cmake.log 2>&1 ||
  fail "building against the installed package failed (see $work/with-cmake.log)"
if grep -qE 'include/(AL|stb)|fsanitize' with-cmake/build/compile_commands.json; then
  fail "find_package(VeskFrame) hands the game the framework's own compile flags"
fi
run_game with-cmake-run.log with-cmake/build/mygame

# A version other than 0.25 is refused by the package's version file.
mkdir wrong-version
sed 's/find_package(VeskFrame 0.25 REQUIRED)/find_package(VeskFrame 0.26 REQUIRED)/' \
  page/installed/CMakeLists.txt >wrong-version/CMakeLists.txt
cp page/mygame.cpp wrong-version/
if cmake -S wrong-version -B wrong-version/build -DCMAKE_PREFIX_PATH="$prefix" \
  >wrong-version.log 2>&1; then
  fail "find_package(VeskFrame 0.26) accepted version 0.25"
fi
grep -q 'not accepted' wrong-version.log || fail "find_package(VeskFrame 0.26) failed for another reason"

# The example game builds against the installed package too.
cmake -S "$src/examples" -B example -DCMAKE_PREFIX_PATH="$prefix" >example.log &&
  cmake --build example >>example.log 2>&1 ||
  fail "the example game does not build against the installed package (see $work/example.log)"
[ -x example/example_game ] && [ -f example/Data/2/sprites.png ] ||
  fail "the example game or its data folder is missing from its build folder"

# ---- pkg-config ----
pcdir=$(dirname "$(find "$prefix" -name veskframe.pc)")
cflags=$(PKG_CONFIG_PATH=$pcdir pkg-config --cflags veskframe | xargs)
[ "$(cd "${cflags#-I}" 2>/dev/null && pwd -P)" = "$(cd "$prefix/include/veskframe" && pwd -P)" ] ||
  fail "pkg-config --cflags veskframe gives '$cflags', not VeskFrame's include folder alone"
mkdir with-make
cp page/mygame.cpp page/pkgconfig/Makefile with-make/
PKG_CONFIG_PATH=$pcdir make -C with-make >with-make.log 2>&1 ||
  fail "building with pkg-config failed (see $work/with-make.log)"
run_game with-make-run.log with-make/mygame

echo "OK: the page's game builds and runs as a subfolder, with find_package and with pkg-config"
