#!/usr/bin/env bash
# Package step shared by ./run-benchmark and ./run-tests: makes sure every
# Debian package the build, the tests and the virtual display need is there.
# As root it installs what is missing; otherwise it prints the apt-get line.
# With the argument "fuzz" it also makes sure of Clang and its libFuzzer
# runtime (scripts/fuzz.sh).
set -euo pipefail

VF_PACKAGES=(build-essential cmake pkg-config libglfw3-dev libgl-dev libopenal-dev libstb-dev
  liblodepng-dev libgtest-dev libbenchmark-dev xvfb x11-utils openbox xdotool sox libsox-fmt-all
  vorbis-tools imagemagick)
if [ "${1:-}" = fuzz ]; then
  VF_PACKAGES+=(clang libclang-rt-14-dev llvm)
fi

missing=()
for p in "${VF_PACKAGES[@]}"; do
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
