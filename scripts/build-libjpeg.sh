#!/usr/bin/env bash
# Builds libjpeg-turbo's static decoder library for one MinGW target from Debian's source package and
# installs it under build/deps/libjpeg-<arch>. Debian ships no MinGW build of it. Does nothing when the
# library is already there.
set -euo pipefail
arch=$1   # i686 or x86_64
root=$(cd "$(dirname "$0")/.." && pwd)
deps=$root/build/deps
prefix=$deps/libjpeg-$arch
[ -f "$prefix/lib/libjpeg.a" ] && exit 0

mkdir -p "$deps/src"
cd "$deps/src"
if ! ls libjpeg-turbo_*.orig.tar.gz >/dev/null 2>&1; then
  src_list=/etc/apt/sources.list.d/kestrowin-src.sources
  if ! grep -rqs '^Types:.*deb-src' /etc/apt/sources.list.d/ /etc/apt/sources.list 2>/dev/null; then
    sudo_cmd=""
    [ "$(id -u)" -eq 0 ] || sudo_cmd="sudo"
    sed 's/^Types: deb$/Types: deb-src/' /etc/apt/sources.list.d/debian.sources | $sudo_cmd tee "$src_list" >/dev/null
    $sudo_cmd apt-get update -qq
  fi
  apt-get source --download-only libjpeg-turbo >/dev/null 2>&1
fi
if [ ! -d libjpeg-turbo ]; then
  mkdir libjpeg-turbo
  tar -xzf libjpeg-turbo_*.orig.tar.gz -C libjpeg-turbo --strip-components=1
fi
cmake -S libjpeg-turbo -B "build-$arch" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-$arch.cmake" \
  -DENABLE_SHARED=OFF -DWITH_SIMD=OFF -DWITH_TURBOJPEG=OFF -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_INSTALL_PREFIX="$prefix" >/dev/null
cmake --build "build-$arch" --target jpeg-static -j"$(nproc)" >/dev/null
mkdir -p "$prefix/lib" "$prefix/include"
cp "build-$arch/libjpeg.a" "$prefix/lib/"
cp libjpeg-turbo/jpeglib.h libjpeg-turbo/jmorecfg.h libjpeg-turbo/jerror.h "build-$arch/jconfig.h" "$prefix/include/"
