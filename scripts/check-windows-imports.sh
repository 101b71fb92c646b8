#!/usr/bin/env bash
# Checks the products of a Windows build folder as a host would load them:
# HPGL2.pxr is a DLL of the folder's architecture whose only export is
# IT_Driver, undecorated, and every product imports only Windows' own DLLs
# (and PXRDriver.dll): the C++ runtime is linked in statically.
#   bash scripts/check-windows-imports.sh build-win32
set -euo pipefail
bin="$1/bin"
objdump=x86_64-w64-mingw32-objdump  # reads both pei-i386 and pei-x86-64
status=0
fail() { echo "check-windows-imports: $*" >&2; status=1; }

expected_format="pei-i386"
"$objdump" -f "$bin/plothost.exe" | grep -q "x86-64" && expected_format="pei-x86-64"
for product in HPGL2.pxr PXRDriver.dll plothost.exe; do
  dump=$("$objdump" -p "$bin/$product")
  grep -q "file format $expected_format" <<<"$dump" || fail "$product is not $expected_format"
  imports=$(grep 'DLL Name:' <<<"$dump" | awk '{print $3}' | tr 'A-Z' 'a-z' | sort -u)
  for dll in $imports; do
    case "$dll" in
      kernel32.dll|user32.dll|gdi32.dll|comctl32.dll|comdlg32.dll|msvcrt.dll|ws2_32.dll|\
      advapi32.dll|shell32.dll|ole32.dll|api-ms-win-*.dll) ;;
      pxrdriver.dll) [ "$product" != PXRDriver.dll ] || fail "PXRDriver.dll imports itself" ;;
      *) fail "$product imports $dll, which is no Windows DLL" ;;
    esac
  done
  echo "$product ($expected_format) imports: $(echo $imports)"
done
exports=$("$objdump" -p "$bin/HPGL2.pxr" | sed -n '/^\[Ordinal\/Name Pointer\] Table/,/^$/p' |
          sed -n 's/^\s*\[ *[0-9]*\] //p')
[ "$exports" = "IT_Driver" ] || fail "HPGL2.pxr exports '$exports', not IT_Driver alone"
echo "HPGL2.pxr exports: $exports"
exit "$status"
