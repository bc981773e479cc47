#!/usr/bin/env bash
# Makes a delay-import library for a system DLL from the toolchain's import
# library: a program linked against it maps the DLL at the first call of one
# of its functions instead of at start-up.
#   delaylib.sh <triplet> <dll name> <import library> <output .a>
# Data exports cannot be delay-loaded and functions that Windows XP lacks are
# left out: a use of either resolves to the ordinary import library, linked
# after this one, where scripts/check-image.py sees it.
#
# Each function's member holds its thunk (the code that loads the DLL at the
# first call) and its slot, which points at the thunk. The i686 linker drops
# the code section of an import library member whose code symbol nobody
# references, taking it for a plain "jmp *slot" stub that dllimport calls do
# not need; that left every slot pointing at address 0. The thunks' section
# is therefore marked as data: the linker keeps it, and it still lands in
# the image's code section by its name (.text$...), where direct callers of
# the global thunk symbol (headers that do not declare dllimport) reach it.
set -euo pipefail
tri=$1 dll=$2 lib=$3 out=$4
here=$(cd "$(dirname "$0")" && pwd)
def=${out%.a}.def
mkdir -p "$(dirname "$out")"
newer=$(paste -sd'|' "$here/xp-missing.txt")
prefix=__imp_; machine=i386:x86-64; code=
if [ "$tri" = i686-w64-mingw32 ]; then prefix=__imp__; machine=i386; code=_; fi
"$tri-nm" -g "$lib" | awk -v prefix="$prefix" -v code="$code" -v newer="$newer" '
  $2 == "I" && index($3, prefix) == 1 { imp[substr($3, length(prefix) + 1)] = 1 }
  $2 == "T" { text[$3] = 1 }
  END {
    for (n in imp) if ((code n) in text && n !~ newer) print n
  }' | { echo "LIBRARY $dll"; echo EXPORTS; sort; } >"$def"
rm -f "$out"
# Run beside the output: dlltool names the library's members and symbols
# after the path it is given.
cd "$(dirname "$out")"
"$tri-dlltool" -k -m "$machine" -d "$(basename "$def")" -y "$(basename "$out")"
"$tri-objcopy" --rename-section '.text=.text$dlthunk,alloc,load,readonly,data,contents' "$(basename "$out")"
