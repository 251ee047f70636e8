#!/usr/bin/env bash
# Installs what the benchmark needs beyond the build's own packages: the peer's compiler, Xlib for the
# window watcher, and GNU time. Idempotent: when all is present it only checks and returns.
set -euo pipefail

packages=(nsis libx11-dev time gcc imagemagick x11-utils)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "bench setup: installing ${missing[*]}"
  sudo_cmd=""
  [ "$(id -u)" -eq 0 ] || sudo_cmd="sudo"
  export DEBIAN_FRONTEND=noninteractive
  $sudo_cmd apt-get update -qq
  $sudo_cmd apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
