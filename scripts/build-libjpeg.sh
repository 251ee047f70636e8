#!/usr/bin/env bash
# Builds libjpeg-turbo's static decoder library for one MinGW target from Debian's source package and
# installs it under build/deps/libjpeg-<arch>. Debian ships no MinGW build of it. Does nothing when the
# library is already there, built the way this script builds it now.
#
# The installer decodes only its own three pictures: baseline, single scan, full-size YCbCr at 8 bits
# (tools/draw_pictures.sh writes them so). Everything else the decoder can do is left out, because every
# byte of it would be carried by the installer for nothing: arithmetic coding, progressive and multi-scan
# files, block smoothing, scaled output, the fast and floating-point IDCTs, colour quantisation, merged
# upsampling, and reading JPEGMEM from the environment. It is built for size, each function in its own
# section so the installer's link keeps only what it calls, and without unwinding tables (C never throws).
set -euo pipefail
arch=$1   # i686 or x86_64
root=$(cd "$(dirname "$0")/.." && pwd)
deps=$root/build/deps
prefix=$deps/libjpeg-$arch
# Change this whenever the way the library is built changes, so that a build tree with an older library
# builds it afresh.
build_key="decoder-trimmed-2"
[ -f "$prefix/lib/libjpeg.a" ] && [ "$(cat "$prefix/build-key" 2>/dev/null)" = "$build_key" ] && exit 0
rm -rf "$prefix" "$deps/src/build-$arch"

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
# The features are switched in jmorecfg.h itself; the edit is idempotent, and the edited header is the one
# installed, so the installer compiles against the configuration the library was built with.
sed -i -E 's/^#define (DCT_IFAST_SUPPORTED|DCT_FLOAT_SUPPORTED|D_MULTISCAN_FILES_SUPPORTED|D_PROGRESSIVE_SUPPORTED|BLOCK_SMOOTHING_SUPPORTED|IDCT_SCALING_SUPPORTED|UPSAMPLE_MERGING_SUPPORTED|QUANT_1PASS_SUPPORTED|QUANT_2PASS_SUPPORTED)\b/#undef \1/' \
  libjpeg-turbo/jmorecfg.h
cmake -S libjpeg-turbo -B "build-$arch" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-$arch.cmake" \
  -DENABLE_SHARED=OFF -DWITH_SIMD=OFF -DWITH_TURBOJPEG=OFF -DWITH_ARITH_DEC=OFF -DWITH_ARITH_ENC=OFF \
  -DFORCE_INLINE=OFF -DCMAKE_BUILD_TYPE=MinSizeRel \
  -DCMAKE_C_FLAGS="-DNO_GETENV -ffunction-sections -fdata-sections -fno-asynchronous-unwind-tables" \
  -DCMAKE_INSTALL_PREFIX="$prefix" >/dev/null
cmake --build "build-$arch" --target jpeg-static -j"$(nproc)" >/dev/null
mkdir -p "$prefix/lib" "$prefix/include"
cp "build-$arch/libjpeg.a" "$prefix/lib/"
cp libjpeg-turbo/jpeglib.h libjpeg-turbo/jmorecfg.h libjpeg-turbo/jerror.h "build-$arch/jconfig.h" "$prefix/include/"
echo "$build_key" >"$prefix/build-key"
