#!/usr/bin/env bash
# Checks the built programs' files: the product is a 32-bit (i386) Windows GUI program and its twin a
# 64-bit one, both import nothing but DLLs that ship with Windows, have the loader take those DLLs from
# System32 only, and carry their manifest, version resource and icon.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
allowed="KERNEL32.dll USER32.dll GDI32.dll COMCTL32.dll SHELL32.dll ole32.dll msvcrt.dll ADVAPI32.dll COMDLG32.dll UxTheme.dll api-ms-win-crt-"
failures=0

# The load configuration's DependentLoadFlags (a 16-bit field at `offset` in the structure) must be
# LOAD_LIBRARY_SEARCH_SYSTEM32.
check_load_config() {  # file, objdump, headers, offset of DependentLoadFlags
  local file=$1 objdump=$2 headers=$3 offset=$4
  local base entry rva size
  base=$(awk '$1 == "ImageBase" {print $2}' <<<"$headers")
  entry=$(grep "Load Configuration Directory" <<<"$headers")
  rva=$(awk '{print $3}' <<<"$entry")
  size=$(awk '{print $4}' <<<"$entry")
  if [ -z "$rva" ] || [ $((16#$rva)) -eq 0 ] || [ $((16#$size)) -le $((offset + 1)) ]; then
    echo "product check: $file has no load configuration directory"; failures=$((failures + 1)); return
  fi
  local start=$((16#$base + 16#$rva + offset)) bytes
  bytes=$($objdump -s --start-address=$start --stop-address=$((start + 2)) "$file" |
    sed -n 's/^ [0-9a-f]\+ \([0-9a-f]\{4\}\) .*/\1/p' | head -1)
  # Little endian: 0x0800 is stored as 00 08.
  [ "$bytes" = "0008" ] ||
    { echo "product check: $file: DependentLoadFlags is ${bytes:-unreadable}, not System32 only"
      failures=$((failures + 1)); }
}

# The resources: the manifest with its execution level, common controls 6 and DPI setting; the icon; the
# version resource with its strings.
check_resources() {  # file, windres
  local file=$1 windres=$2 resources
  # windres writes the resources as a script, doubling the quotes inside strings.
  resources=$($windres -i "$file" -O rc 2>&1 | sed 's/""/"/g')
  local expected
  for expected in 'level="asInvoker"' 'name="Microsoft.Windows.Common-Controls"' 'version="6.0.0.0"' \
      '<dpiAware' '<dpiAwareness' 'supportedOS' 'RT_GROUP_ICON' 'VERSIONINFO' \
      '"ProductName", "Kestrowin' '"FileDescription",' '"FileVersion",' '"LegalCopyright",'; do
    grep -q -- "$expected" <<<"$resources" ||
      { echo "product check: $file: resources lack $expected"; failures=$((failures + 1)); }
  done
}

check() {  # file, objdump, expected format, expected machine, offset of DependentLoadFlags, windres
  local file=$1 objdump=$2 format=$3 machine=$4 flags_offset=$5 windres=$6
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
  check_load_config "$file" "$objdump" "$headers" "$flags_offset"
  check_resources "$file" "$windres"
  echo "product check: $(basename "$file"): $format, $(stat -c %s "$file") bytes, imports $(echo $dlls)"
}

check "$root/dist/KestrowinSetup.exe" i686-w64-mingw32-objdump pei-i386 "010b" 54 i686-w64-mingw32-windres
check "$root/dist/KestrowinSetup-x64.exe" x86_64-w64-mingw32-objdump pei-x86-64 "020b" 78 \
  x86_64-w64-mingw32-windres
[ $failures -eq 0 ]
