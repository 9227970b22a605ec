#!/usr/bin/env bash
# Package step of the scripts: makes sure the Debian packages of one route
# are there, and nothing more. Each route needs some groups of packages; for
# every group with a package missing it prints one line saying why the route
# needs it. As root it then installs what is missing; otherwise it prints the
# apt-get line and stops. README.md lists the same groups per route.
#   scripts/packages.sh game       build a game on the framework
#   scripts/packages.sh benchmark  ./run-benchmark: a game's, plus a virtual display when
#                                  DISPLAY is not set
#   scripts/packages.sh tests      ./run-tests: a game's plus the test tools and the
#                                  private virtual displays of the tests
#   scripts/packages.sh fuzz       scripts/fuzz.sh: a game's plus Clang, libFuzzer, oggenc
#   scripts/packages.sh windows    scripts/build-windows.sh: mingw-w64 (posix threads), Ninja,
#                                  GoogleTest's sources, stb_vorbis
#   scripts/packages.sh windows-tests  the windows tier: the Windows build's, Wine, the tests'
#   scripts/packages.sh peers      scripts/compare-peers.sh: the benchmark's plus SDL2, SFML, LÖVE
#   scripts/packages.sh web        scripts/build-web.sh: emscripten (with Node and Python)
#   scripts/packages.sh web-tests  the web tier: the browser build's, GoogleTest's source,
#                                  Chromium
set -euo pipefail

missing=() # packages, each once
reasons=() # one line per group with a package missing

installed() {
  dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'
}

# need WHY PACKAGE... : the route needs this group of packages, for WHY.
need() {
  local why=$1 p absent=()
  shift
  for p in "$@"; do
    if ! installed "$p" && [[ " ${missing[*]} " != *" $p "* ]]; then absent+=("$p"); fi
  done
  [ ${#absent[@]} -eq 0 ] && return 0
  missing+=("${absent[@]}")
  reasons+=("  ${absent[*]}: $why")
}

game() {
  need "the compiler and CMake that build the framework" build-essential cmake pkg-config
  need "the framework's libraries: GLFW window, OpenGL, OpenAL sound, stb_vorbis, lodepng" \
    libglfw3-dev libgl-dev libopenal-dev libstb-dev liblodepng-dev
}
virtual_display() { # WHY
  need "$1" xvfb x11-utils openbox
}
windows() {
  need "the mingw-w64 cross compiler (posix threads) and Ninja that build for Windows" \
    cmake ninja-build g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix \
    binutils-mingw-w64-x86-64 mingw-w64-x86-64-dev
  need "stb_vorbis and GoogleTest's sources, compiled for Windows" libstb-dev googletest
}
web() {
  need "emscripten (with Node and Python) and CMake, which build the browser pages" \
    cmake make emscripten
  need "stb_vorbis, compiled for the browser" libstb-dev
}
test_tools() {
  need "GoogleTest, which the test programs are written with" libgtest-dev
  need "xdotool, which sends keys and clicks to the tests' windows" xdotool
  need "sox, which measures the sound the tests capture" sox
  need "the DejaVu fonts, which the font-sheet tool's tests draw sheets from" fonts-dejavu-core
}

case ${1:-} in
  game) game ;;
  benchmark)
    game
    if [ -z "${DISPLAY:-}" ]; then
      virtual_display "a virtual display for the benchmark's window: DISPLAY is not set"
    fi
    ;;
  tests)
    game
    virtual_display "the private virtual displays that every test window opens on"
    test_tools
    need "Google Benchmark, which the performance programs are written with" libbenchmark-dev
    need "oggenc, which encodes the Ogg Vorbis pieces of the tests" vorbis-tools
    ;;
  fuzz)
    game
    need "Clang with libFuzzer, which build and run the fuzz targets" clang libclang-rt-14-dev llvm
    need "oggenc, which encodes the Ogg Vorbis seeds" vorbis-tools
    ;;
  windows) windows ;;
  windows-tests)
    windows
    game
    virtual_display "the private virtual displays that the Windows programs run on"
    test_tools
    need "Wine, which runs the Windows programs" wine wine64
    ;;
  peers)
    game
    virtual_display "the private virtual display that the comparison runs on"
    need "SDL2, SFML and LÖVE, the libraries compared" libsdl2-dev libsfml-dev love
    ;;
  web) web ;;
  web-tests)
    web
    need "GoogleTest's sources, compiled for the browser" googletest
    need "Chromium, which runs the pages" chromium
    ;;
  *)
    echo "usage: scripts/packages.sh game|benchmark|tests|fuzz|windows|windows-tests|peers|web|web-tests" >&2
    exit 2
    ;;
esac
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -eq 0 ]; then
  echo "Installing missing Debian packages:"
  printf '%s\n' "${reasons[@]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
else
  {
    echo "Missing Debian packages:"
    printf '%s\n' "${reasons[@]}"
    echo "Install them with:"
    echo "  sudo apt-get update && sudo apt-get install -y --no-install-recommends ${missing[*]}"
  } >&2
  exit 1
fi
