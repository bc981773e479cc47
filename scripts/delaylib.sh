#!/usr/bin/env bash
# Makes a delay-import library for a system DLL from the toolchain's import
# library: a program linked against it maps the DLL at the first call of one
# of its functions instead of at start-up.
#   delaylib.sh <triplet> <dll name> <import library> <output .a>
# Data exports cannot be delay-loaded and functions that Windows XP lacks are
# left out: a use of either resolves to the ordinary import library, linked
# after this one, where scripts/check-imports.sh sees it.
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
