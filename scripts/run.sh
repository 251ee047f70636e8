#!/usr/bin/env bash
# Starts the 64-bit twin under wine64 (this machine cannot run 32-bit Windows code). On a display it
# runs until the user ends it; without one it starts a virtual display, saves a screenshot of the first
# screen, says where, and ends the program.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
program=$root/dist/KestrowinSetup-x64.exe
export WINEPREFIX=$root/build/wine-run WINEDEBUG=-all
wine=/usr/lib/wine/wine64

prepare_prefix() {
  [ -f "$WINEPREFIX/system.reg" ] || "$wine" wineboot -i >/dev/null 2>&1
}

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  prepare_prefix
  exec "$wine" "$program"
fi

display=:$((90 + RANDOM % 100))
Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
export DISPLAY=$display
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
openbox >/dev/null 2>&1 &
wm=$!
stop() {
  kill "${app:-}" 2>/dev/null || true
  wineserver -k 2>/dev/null || true
  kill "$wm" "$xvfb" 2>/dev/null || true
}
trap stop EXIT
prepare_prefix
"$wine" "$program" &
app=$!
found=""
for _ in $(seq 150); do
  found=$(xdotool search --name "Kestrowin Game Installer" 2>/dev/null | head -1 || true)
  [ -n "$found" ] && break
  sleep 0.1
done
[ -n "$found" ] || { echo "run: the installer's window did not appear"; exit 1; }
sleep 0.5
mkdir -p "$root/build/screens"
shot=$root/build/screens/first-screen.png
import -window root "$shot"
echo "run: no display, so the installer ran on a virtual one; its first screen is in $shot"
