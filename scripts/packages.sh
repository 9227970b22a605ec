#!/usr/bin/env bash
# Package step of the scripts: makes sure the Debian packages of one route
# are there. As root it installs what is missing; otherwise it prints the
# apt-get line and stops. README.md lists the same packages per route.
#   scripts/packages.sh game       build a game on the framework
#   scripts/packages.sh benchmark  ./run-benchmark: a game plus the virtual display
#   scripts/packages.sh tests      ./run-tests: the benchmark's plus the test tools
#   scripts/packages.sh fuzz       scripts/fuzz.sh: a game's plus Clang, libFuzzer, oggenc
#   scripts/packages.sh windows    scripts/build-windows.sh: mingw-w64 (posix threads), Ninja,
#                                  GoogleTest's sources, stb_vorbis
#   scripts/packages.sh windows-tests  the windows tier: the Windows build's, Wine, the tests'
#   scripts/packages.sh peers      scripts/compare-peers.sh: the benchmark's plus SDL2, SFML, LÖVE
#   scripts/packages.sh web        scripts/build-web.sh: emscripten (with Node and Python)
#   scripts/packages.sh web-tests  the web tier: the browser build's, GoogleTest's source,
#                                  Chromium
set -euo pipefail

game=(build-essential cmake pkg-config libglfw3-dev libgl-dev libopenal-dev libstb-dev
  liblodepng-dev)
display=(xvfb x11-utils openbox)
windows=(cmake ninja-build g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix
  binutils-mingw-w64-x86-64 mingw-w64-x86-64-dev libstb-dev googletest)
web=(cmake make emscripten libstb-dev)
case ${1:-} in
  game) packages=("${game[@]}") ;;
  benchmark) packages=("${game[@]}" "${display[@]}") ;;
  tests)
    packages=("${game[@]}" "${display[@]}" libgtest-dev libbenchmark-dev xdotool sox
      libsox-fmt-all vorbis-tools)
    ;;
  fuzz) packages=("${game[@]}" vorbis-tools clang libclang-rt-14-dev llvm) ;;
  windows) packages=("${windows[@]}") ;;
  windows-tests)
    packages=("${windows[@]}" "${game[@]}" "${display[@]}" libgtest-dev xdotool sox wine wine64)
    ;;
  peers) packages=("${game[@]}" "${display[@]}" libsdl2-dev libsfml-dev love) ;;
  web) packages=("${web[@]}") ;;
  web-tests) packages=("${web[@]}" googletest chromium) ;;
  *)
    echo "usage: scripts/packages.sh game|benchmark|tests|fuzz|windows|windows-tests|peers|web|web-tests" >&2
    exit 2
    ;;
esac

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

line="apt-get install -y --no-install-recommends ${missing[*]}"
if [ "$(id -u)" -eq 0 ]; then
  echo "Installing missing packages: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
else
  echo "Missing Debian packages. Install them with:" >&2
  echo "  sudo apt-get update && sudo $line" >&2
  exit 1
fi
