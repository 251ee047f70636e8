#!/usr/bin/env bash
# Builds the three builds: the host build with the tests, the 32-bit product and the 64-bit twin.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
jobs=$(nproc)

bash scripts/build-libjpeg.sh i686
bash scripts/build-libjpeg.sh x86_64

configure() {  # build dir, extra cmake arguments
  local dir=$1; shift
  [ -f "$dir/Makefile" ] || cmake -S . -B "$dir" "$@" >"$dir.configure.log" 2>&1 || { cat "$dir.configure.log"; exit 1; }
}
configure build/host
configure build/win32 -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake"
configure build/win64 -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-x86_64.cmake"
for dir in build/host build/win32 build/win64; do
  cmake --build "$dir" -j"$jobs" >"$dir/build.log" 2>&1 || { cat "$dir/build.log"; exit 1; }
done
echo "built: dist/KestrowinSetup.exe (32-bit product), dist/KestrowinSetup-x64.exe (64-bit twin), build/host (tests)"
