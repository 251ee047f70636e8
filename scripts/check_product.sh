#!/usr/bin/env bash
# Checks the built programs' files: the product is a 32-bit (i386) Windows GUI program and its twin a
# 64-bit one, and both import nothing but DLLs that ship with Windows.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
allowed="KERNEL32.dll WINMM.dll USER32.dll GDI32.dll COMCTL32.dll SHELL32.dll ole32.dll msvcrt.dll ADVAPI32.dll COMDLG32.dll UxTheme.dll api-ms-win-crt-"
failures=0

check() {  # file, objdump, expected format, expected machine
  local file=$1 objdump=$2 format=$3 machine=$4
  if [ ! -f "$file" ]; then
    echo "product check: $file is missing"; failures=$((failures + 1)); return
  fi
  local headers
  headers=$($objdump -p "$file")
  grep -q "file format $format" <<<"$headers" || { echo "product check: $file is not $format"; failures=$((failures + 1)); }
  grep -q "^Magic.*$machine" <<<"$headers" || { echo "product check: $file has the wrong optional header"; failures=$((failures + 1)); }
  grep -q "^Subsystem.*(Windows GUI)" <<<"$headers" || { echo "product check: $file is not a GUI program"; failures=$((failures + 1)); }
  local dlls
  dlls=$(sed -n 's/^\s*DLL Name: //p' <<<"$headers" | sort -u)
  for dll in $dlls; do
    local ok=0
    for name in $allowed; do
      case "${dll,,}" in "${name,,}"*) ok=1 ;; esac
    done
    [ $ok -eq 1 ] || { echo "product check: $file imports $dll, which is not part of Windows"; failures=$((failures + 1)); }
  done
  echo "product check: $(basename "$file"): $format, $(stat -c %s "$file") bytes, imports $(echo $dlls)"
}

check "$root/dist/KestrowinSetup.exe" i686-w64-mingw32-objdump pei-i386 "010b"
check "$root/dist/KestrowinSetup-x64.exe" x86_64-w64-mingw32-objdump pei-x86-64 "020b"
[ $failures -eq 0 ]
