#!/usr/bin/env bash
# Configures and builds the framework on its own as a newcomer would, with
# GoogleTest and Google Benchmark hidden from CMake: the configure succeeds,
# says once which parts it skips and why, and the library, the benchmark game
# and the example game build.
# Usage: without_test_tools.sh SOURCE_TREE CXX_COMPILER
set -euo pipefail
src=$1
export CXX=$2
here=$(cd "$(dirname "$0")" && pwd)
source "$here/session.sh"

enter_work_folder

cmake -S "$src" -B build -DCMAKE_DISABLE_FIND_PACKAGE_GTest=ON \
  -DCMAKE_DISABLE_FIND_PACKAGE_benchmark=ON >configure.log 2>&1 ||
  fail "configuring without GoogleTest and Google Benchmark failed (see $work/configure.log)"
skipped=$(grep -c 'VeskFrame: skipping' configure.log || true)
[ "$skipped" -eq 1 ] || fail "expected one message about skipped parts, got $skipped"
grep -q 'the tests (GoogleTest not found: Debian package libgtest-dev)' configure.log ||
  fail "the message does not name the tests and their package"
grep -q 'the performance programs (Google Benchmark not found: Debian package libbenchmark-dev)' \
  configure.log || fail "the message does not name the performance programs and their package"

cmake --build build -j2 >build.log 2>&1 ||
  fail "building without GoogleTest and Google Benchmark failed (see $work/build.log)"
[ -f build/libveskframe.a ] || fail "the library was not built"
[ -x build/game/benchmark ] || fail "the benchmark game was not built"
[ -x build/examples/example_game ] || fail "the example game was not built"
if find build -name '*_test' -type f | grep -q .; then fail "test programs were built"; fi

echo "OK: without the test tools the library, the game and the example build"
