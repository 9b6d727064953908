#!/usr/bin/env bash
# What the host's loader sees of the plugin DLL: an empty export table, and
# imports of system DLLs and the host framework's only (no runtime DLL to ship
# beside it, no link to the permissions library).
#
#   check_dll_imports.sh OBJDUMP DLL HOST_DLL
set -uo pipefail

objdump=$1
dll=$2
host=$3

headers=$("$objdump" -p "$dll") || exit 1
failed=0

# An export directory, if the linker wrote one, must list no entry, by name or
# by ordinal.
exports=$(awk '/^Export Address Table -- |^\[Ordinal\/Name Pointer\] Table/ { on = 1; next }
               on && NF == 0 { on = 0 }
               on' <<<"$headers")
if [ -n "$exports" ]; then
  echo "FAIL: $dll exports symbols:"
  echo "$exports"
  failed=1
fi

imports=$(awk '/DLL Name:/ { print $3 }' <<<"$headers")
if [ -z "$imports" ]; then
  echo "FAIL: no import table in $dll"
  failed=1
fi
while read -r name; do
  [ -n "$name" ] || continue
  lower=${name,,}
  case $lower in
    kernel32.dll | msvcrt.dll | user32.dll | advapi32.dll | ntdll.dll | ucrtbase.dll | api-ms-win-*.dll) ;;
    "${host,,}") ;;
    *)
      echo "FAIL: $dll imports $name, which is neither a system DLL nor the host's $host"
      failed=1
      ;;
  esac
done <<<"$imports"

((failed)) || echo "$dll: no exports; imports $(tr '\n' ' ' <<<"$imports")"
exit $failed
