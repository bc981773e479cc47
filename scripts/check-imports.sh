#!/usr/bin/env bash
# Fails when a PE file imports a DLL that Windows does not ship or a function
# that Windows XP lacks.
set -euo pipefail
objdump=$1; file=$2
dump=$("$objdump" -p "$file")
bad=0
allowed='^(kernel32|user32|gdi32|advapi32|shell32|shlwapi|comctl32|comdlg32|ole32|oleaut32|winmm|msimg32|wininet|version|gdiplus|msvcrt|ws2_32)\.dll$'
while read -r dll; do
  if ! echo "$dll" | tr 'A-Z' 'a-z' | grep -Eq "$allowed"; then
    echo "$file: imports $dll, which Windows does not ship" >&2; bad=1
  fi
done < <(echo "$dump" | sed -n 's/^\s*DLL Name: //p')
# Names (or parts of names) of functions that Windows XP lacks, one a line.
newer=$(paste -sd'|' "$(dirname "$0")/xp-missing.txt")
hits=$(echo "$dump" | grep -E '^\s+[0-9a-f]+\s+[0-9]+\s+' | grep -Ew "($newer)[AW]?" || true)
if [ -n "$hits" ]; then
  echo "$file: imports functions that Windows XP lacks:" >&2; echo "$hits" >&2; bad=1
fi
exit $bad
