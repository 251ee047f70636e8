#!/usr/bin/env bash
# Installs everything the builds and tests need. Idempotent: when all is present it only checks and returns.
#   scripts/setup.sh         what `make build`, `make run` and `make test` need
#   scripts/setup.sh bench   that and what `make bench` needs besides: the peer installer's compiler
#                            (makensis), Xlib headers for the window watcher
set -euo pipefail

packages=(
  cmake make g++ googletest libgtest-dev libjpeg-dev
  g++-mingw-w64-i686 g++-mingw-w64-x86-64 binutils-mingw-w64-i686 binutils-mingw-w64-x86-64
  python3 wine64 fonts-liberation xvfb openbox xdotool x11-utils imagemagick dpkg-dev zip unzip
  fonts-dejavu-core fonts-urw-base35
)
if [ "${1:-}" = bench ]; then
  packages+=(nsis libx11-dev gcc libc6-dev)
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  sudo_cmd=""
  [ "$(id -u)" -eq 0 ] || sudo_cmd="sudo"
  export DEBIAN_FRONTEND=noninteractive
  $sudo_cmd apt-get update -qq
  $sudo_cmd apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
