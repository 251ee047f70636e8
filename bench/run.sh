#!/usr/bin/env bash
# make bench: builds what the benchmarks run (the benchmark programs, the window watcher and the peer
# installer), then measures and prints the table. Takes a few minutes; BENCH_ROUNDS (at least 7) sets how
# many times each figure is taken.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
rounds=${BENCH_ROUNDS:-7}
[ "$rounds" -ge 7 ] || { echo "bench: BENCH_ROUNDS must be at least 7" >&2; exit 2; }

bash scripts/setup.sh bench
out=build/bench
mkdir -p "$out/peer-pictures"

build() {  # build dir, targets
  local dir=$1; shift
  cmake --build "$dir" --target "$@" -j"$(nproc)" >"$dir/bench-build.log" 2>&1 || { cat "$dir/bench-build.log"; exit 1; }
}
build build/host kw_install_bench
build build/win64 kw_install_bench_files kw_install_bench_screen kw_floor kw_floor_dlls
gcc -O2 -Wall -Wextra -o "$out/mapwatch" bench/mapwatch.c -lX11

# The peer shows pictures only as BMP: the same three pictures, converted.
for picture in banner error_banner error_side; do
  convert "assets/pictures/$picture.jpg" "BMP3:$out/peer-pictures/$picture.bmp"
done
makensis -V1 -DPAYLOAD="$root/build/win64/payload" -DPICTURES="$root/$out/peer-pictures" \
  -DLICENCE="$root/build/win64/payload/OgreMITLicense.txt" -DOUTFILE="$root/$out/PeerSetup.exe" \
  bench/peer.nsi
peer_pictures=$(cat "$out"/peer-pictures/*.bmp | wc -c)

python3 bench/bench.py "$rounds" "$root/$out/PeerSetup.exe" "$peer_pictures"
