#!/bin/bash
# Runs a test program inside a Wine virtual desktop, whose taskbar shows tray
# icons, and passes on its verdict (explorer's own exit status says nothing).
#
# usage: in_desktop.sh TEST_EXE [GTEST ARGUMENTS...]
# Environment: DISPLAY, WINEPREFIX and WINE64 as scripts/wine-env.sh sets.
set -u
exe=$(realpath -e "$1") || { echo "no such file: $1" >&2; exit 2; }
shift
WINE=${WINE:-${WINE64:-$(command -v wine64 || echo /usr/lib/wine/wine64)}}
work=$(mktemp -d /tmp/in-desktop.XXXXXX)
trap 'rm -rf "$work"' EXIT
winpath() { printf 'Z:%s' "$1" | tr / '\\'; }
cd "$(dirname "$exe")" || exit 2
KS_DESKTOP=1 "$WINE" explorer "/desktop=kstest$$,1280x1024" "$(winpath "$exe")" "$@" \
    "--gtest_output=xml:$(winpath "$work/result.xml")" </dev/null >"$work/out.log" 2>&1
cat "$work/out.log"
[ -s "$work/result.xml" ] || { echo "in_desktop: the program left no result" >&2; exit 1; }
grep -q '<testsuites[^>]* failures="0"' "$work/result.xml" && ! grep -q '<testsuites[^>]* errors="[1-9]' "$work/result.xml"
