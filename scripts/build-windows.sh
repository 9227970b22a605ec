#!/usr/bin/env bash
# Builds the Windows programs on Debian and lays out dist/windows/, a folder a
# Windows user can zip, unzip and run:
#   benchmark.exe + Data/1, StarCatcher.exe (the example game) + Data/2,
#   OpenAL32.dll (LGPL, replaceable), licenses/, README.txt
# Installs the Debian packages it needs (scripts/packages.sh windows), builds
# the libraries once per machine (scripts/windows-deps.sh), then the programs
# with the "windows" CMake preset (mingw-w64 cross build, Release) into
# build-windows/.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/packages.sh windows
VESKFRAME_WINDOWS_DEPS=$(scripts/windows-deps.sh)
export VESKFRAME_WINDOWS_DEPS
cmake --preset windows >/dev/null
cmake --build --preset windows -j2 --target game example_game

build=build-windows
dist=dist/windows
rm -rf "$dist"
mkdir -p "$dist/Data" "$dist/licenses"
cp "$build/game/benchmark.exe" "$dist/"
cp "$build/examples/example_game.exe" "$dist/StarCatcher.exe"
cp -r Data/1 examples/Data/2 "$dist/Data/"
cp "$VESKFRAME_WINDOWS_DEPS/bin/OpenAL32.dll" "$dist/"
cp "$VESKFRAME_WINDOWS_DEPS/share/doc/openal-soft/COPYING" "$dist/licenses/openal-soft-COPYING.txt"
licence() { # tarball, file in its top folder, name in licenses/
  local top
  top=$(tar -tzf "third_party/$1" | sed -n "1s|/.*||p")
  tar -xzf "third_party/$1" -O "$top/$2" >"$dist/licenses/$3"
}
licence glfw3_3.3.8.orig.tar.gz LICENSE.md glfw-LICENSE.txt
licence lodepng_0.0~git20220618.b4ed2cd.orig.tar.gz LICENSE lodepng-LICENSE.txt
cp docs/windows/README.txt "$dist/"
echo "Windows folder ready: $dist"
