#!/usr/bin/env bash
# Builds the libraries a Windows build links, with the mingw-w64 toolchain
# (cmake/mingw-w64-x86_64.cmake), into a prefix outside the clone, and prints
# that prefix's path on standard output (everything else goes to stderr):
#   GLFW 3.3.8          static   third_party/glfw3_*.orig.tar.gz
#   lodepng 20220618    static   third_party/lodepng_*.orig.tar.gz
#   OpenAL Soft 1.24.2  OpenAL32.dll (+ import library), its C++, GCC and
#                       thread runtimes linked in, so it needs no other DLL
#   stb_vorbis          static   Debian's libstb-dev header
#   GoogleTest          static   Debian's googletest sources (test programs)
# The tarballs' checksums are checked against third_party/SHA256SUMS first.
#
# The prefix is ${XDG_CACHE_HOME:-~/.cache}/veskframe/windows-deps/<key>, the
# key a hash of the pinned checksums, the toolchain's versions, the Debian
# sources' versions and this script, so each machine builds once (about three
# minutes on two cores) and every later build and clean clone reuses it; a
# change of any input builds a new prefix beside the old one.
# VF_DEPS_CACHE overrides the folder the prefixes live in.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

triple=x86_64-w64-mingw32
cache=${VF_DEPS_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/veskframe/windows-deps}
jobs=2

(cd third_party && sha256sum --quiet -c SHA256SUMS) >&2 || {
  echo "windows-deps: a third_party tarball does not match third_party/SHA256SUMS" >&2
  exit 1
}

key=$({
  cat third_party/SHA256SUMS "$0" cmake/mingw-w64-x86_64.cmake
  ${triple}-gcc-posix --version | head -n1
  ${triple}-g++-posix --version | head -n1
  dpkg-query -W -f='${Version}\n' mingw-w64-x86-64-dev googletest libstb-dev
  cmake --version | head -n1
} | sha256sum | cut -c1-16)
prefix=$cache/$key

mkdir -p "$cache"
exec 9>"$cache/.lock"
flock 9 # one build per machine at a time; the others wait and reuse it
if [ -f "$prefix/.complete" ]; then
  echo "$prefix"
  exit 0
fi

echo "windows-deps: building the Windows libraries into $prefix" >&2
# A prefix without its stamp is a build that was stopped or failed.
for old in "$cache"/*/; do
  [ -f "$old/.complete" ] || rm -rf "$old"
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
toolchain=(-G Ninja -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake"
  -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix")
started=$SECONDS

unpack() { # tarball -> its single top folder
  tar -xzf "$1" -C "$work"
  echo "$work/$(tar -tzf "$1" | head -n1 | cut -d/ -f1)"
}

build() { # source folder, build folder, cmake options...
  local src=$1 dir=$2
  shift 2
  cmake -S "$src" -B "$dir" "${toolchain[@]}" "$@" >"$dir.log" 2>&1 &&
    cmake --build "$dir" -j"$jobs" >>"$dir.log" 2>&1 &&
    cmake --install "$dir" >>"$dir.log" 2>&1 || {
    tail -n 40 "$dir.log" >&2
    echo "windows-deps: building $(basename "$src") failed (log above)" >&2
    exit 1
  }
}

# ---- GLFW ----
glfw=$(unpack third_party/glfw3_3.3.8.orig.tar.gz)
build "$glfw" "$work/glfw-build" -DBUILD_SHARED_LIBS=OFF -DGLFW_BUILD_EXAMPLES=OFF \
  -DGLFW_BUILD_TESTS=OFF -DGLFW_BUILD_DOCS=OFF

# ---- OpenAL Soft ----
# Its CMakeLists asks for CMake 3.26 through one generator expression;
# $<BUILD_INTERFACE:...> means the same for this build.
openal=$(unpack third_party/openal-soft_1.24.2.orig.tar.gz)
sed -i 's/\$<BUILD_LOCAL_INTERFACE:/$<BUILD_INTERFACE:/' "$openal/CMakeLists.txt"
build "$openal" "$work/openal-build" -DLIBTYPE=SHARED -DALSOFT_UTILS=OFF \
  -DALSOFT_EXAMPLES=OFF -DALSOFT_TESTS=OFF -DALSOFT_INSTALL_CONFIG=OFF \
  -DALSOFT_INSTALL_HRTF_DATA=OFF -DALSOFT_INSTALL_AMBDEC_PRESETS=OFF \
  -DALSOFT_INSTALL_EXAMPLES=OFF -DALSOFT_INSTALL_UTILS=OFF -DALSOFT_UPDATE_BUILD_VERSION=OFF \
  -DALSOFT_STATIC_LIBGCC=ON -DALSOFT_STATIC_STDCXX=ON -DALSOFT_STATIC_WINPTHREAD=ON \
  -DALSOFT_BACKEND_PIPEWIRE=OFF -DALSOFT_BACKEND_PULSEAUDIO=OFF -DALSOFT_BACKEND_JACK=OFF
mkdir -p "$prefix/share/doc/openal-soft"
cp "$openal/COPYING" "$prefix/share/doc/openal-soft/COPYING"

# ---- lodepng, stb_vorbis: one source file each ----
small() { # library name, source file, compiler, flags...
  local name=$1 src=$2 cc=$3
  shift 3
  "$cc" -O2 "$@" -c "$src" -o "$work/$name.o" &&
    ${triple}-ar rcs "$prefix/lib/lib$name.a" "$work/$name.o"
}
lodepng=$(unpack third_party/lodepng_0.0~git20220618.b4ed2cd.orig.tar.gz)
mkdir -p "$prefix/include/stb" "$prefix/lib/pkgconfig"
cp "$lodepng/lodepng.h" "$prefix/include/"
small lodepng "$lodepng/lodepng.cpp" ${triple}-g++-posix -std=c++17
# Laid out as Debian lays out libstb-dev: <stb/stb_vorbis.h>, libstb, stb.pc.
cp /usr/include/stb/stb_vorbis.h "$prefix/include/stb/"
printf '#include "stb_vorbis.h"\n' >"$work/stb_vorbis.c"
small stb "$work/stb_vorbis.c" ${triple}-gcc-posix -I"$prefix/include/stb"
cat >"$prefix/lib/pkgconfig/stb.pc" <<EOF
prefix=$prefix
libdir=\${prefix}/lib
includedir=\${prefix}/include/stb

Name: stb
Description: stb_vorbis from Debian's libstb-dev, built for Windows
Version: 0.0
Libs: -L\${libdir} -lstb
Cflags: -I\${includedir}
EOF

# ---- GoogleTest ----
build /usr/src/googletest "$work/gtest-build" -DBUILD_GMOCK=OFF -DINSTALL_GTEST=ON

touch "$prefix/.complete"
echo "windows-deps: built in $((SECONDS - started)) s" >&2
echo "$prefix"
