#!/bin/sh
# Checks that tapvex.dll exports exactly the seven names Kestrabel binds with
# GetProcAddress: undecorated (no leading underscore, no @N) and nothing more.
# usage: exports_test.sh OBJDUMP DLL
#   e.g. exports_test.sh i686-w64-mingw32-objdump build/win32/tapvex.dll
set -u
if [ $# -ne 2 ]; then
    echo "usage: $0 OBJDUMP DLL" >&2
    exit 2
fi
objdump=$1
dll=$2

if [ ! -f "$dll" ]; then
    echo "exports_test: no such file: $dll" >&2
    exit 1
fi
dump=$("$objdump" -p "$dll") || { echo "exports_test: $objdump -p $dll failed" >&2; exit 1; }

# The names follow the "[Ordinal/Name Pointer] Table" header up to a blank line.
actual=$(printf '%s\n' "$dump" | awk '
    /\[Ordinal\/Name Pointer\] Table/ { inside = 1; next }
    inside && NF == 0 { exit }
    inside { sub(/^[ \t]*\[ *[0-9]+\][ \t]*/, ""); print }
' | LC_ALL=C sort)

expected=$(LC_ALL=C sort <<'NAMES'
SetKBHook
SetMouseHook
GetKeyStrokes
GetMouseEvents
GetMouseClicks
KillKBHook
KillMouseHook
NAMES
)

if [ "$actual" != "$expected" ]; then
    echo "exports_test: $dll exports the wrong names" >&2
    echo "expected:" >&2; printf '%s\n' "$expected" | sed 's/^/  /' >&2
    echo "actual:" >&2;   printf '%s\n' "$actual" | sed 's/^/  /' >&2
    exit 1
fi
echo "exports_test: $dll exports exactly the seven names"
exit 0
