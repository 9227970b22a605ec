#!/usr/bin/env bash
# Builds the font-sheet tool veskframe-font (tools/FontTool.cpp, Release, the
# tool alone) into build-font/ and prints its path, for the asset scripts.
# Needs cmake, a C++17 compiler and the game route's packages.
set -euo pipefail
cd "$(dirname "$0")/.."

build=build-font
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DVESKFRAME_BUILD_GAME=OFF \
  -DVESKFRAME_BUILD_TESTS=OFF -DVESKFRAME_BUILD_PERF=OFF -DVESKFRAME_BUILD_EXAMPLES=OFF \
  -DVESKFRAME_INSTALL=OFF >&2
cmake --build "$build" --target veskframe_font -j2 >&2
echo "$PWD/$build/tools/veskframe-font"
