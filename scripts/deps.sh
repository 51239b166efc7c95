#!/usr/bin/env bash
# Builds libjpeg-turbo (Debian's source package) as a static library for one MinGW target,
# cached under build/deps/<triplet>. Takes no time when the library is already there.
set -euo pipefail
triplet=${1:?usage: deps.sh i686-w64-mingw32|x86_64-w64-mingw32}
root=$(cd "$(dirname "$0")/.." && pwd)
deps=$root/build/deps
prefix=$deps/$triplet
built() { [ -f "$prefix/lib/libjpeg.a" ] && [ -f "$prefix/include/jpeglib.h" ]; }
built && exit 0

# Several builds may start at once (both presets, other build folders): one builds, the others
# wait and then find the library there.
mkdir -p "$deps/src"
exec 9>"$deps/.lock"
flock 9
built && exit 0

src=$(ls -d "$deps"/src/libjpeg-turbo-*/ 2>/dev/null | head -n1 || true)
if [ -z "$src" ]; then
  echo "deps: fetching Debian's libjpeg-turbo source package"
  fetch() { (cd "$deps/src" && apt-get source -qq libjpeg-turbo </dev/null >"$deps/source.log" 2>&1); }
  # The source lists may be older than the deb-src entry: read them again once.
  fetch || { [ "$(id -u)" = 0 ] && apt-get update -qq </dev/null >/dev/null 2>&1; fetch; } ||
    { echo "deps: 'apt-get source libjpeg-turbo' failed, see $deps/source.log (scripts/setup.sh adds the deb-src entry)" >&2; exit 1; }
  src=$(ls -d "$deps"/src/libjpeg-turbo-*/ | head -n1)
fi

case $triplet in
  i686-*) proc=i686 ;;
  x86_64-*) proc=AMD64 ;;
esac
simd=0
command -v nasm >/dev/null && simd=1
work=$deps/work-$triplet
rm -rf "$work"
cmake -S "$src" -B "$work" -G Ninja -Wno-dev \
  -DCMAKE_SYSTEM_NAME=Windows -DCMAKE_SYSTEM_PROCESSOR=$proc \
  -DCMAKE_C_COMPILER=/usr/bin/$triplet-gcc-posix -DCMAKE_RC_COMPILER=/usr/bin/$triplet-windres \
  -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" \
  -DENABLE_SHARED=OFF -DENABLE_STATIC=ON -DWITH_TURBOJPEG=OFF -DWITH_SIMD=$simd >"$deps/$triplet-configure.log" 2>&1 ||
  { echo "deps: configuring libjpeg-turbo for $triplet failed, see $deps/$triplet-configure.log" >&2; exit 1; }
cmake --build "$work" --target install >"$deps/$triplet-build.log" 2>&1 ||
  { echo "deps: building libjpeg-turbo for $triplet failed, see $deps/$triplet-build.log" >&2; exit 1; }
rm -rf "$work"
# Only the library and its headers are used.
rm -rf "$prefix/bin" "$prefix/share"
echo "deps: libjpeg-turbo built for $triplet"
