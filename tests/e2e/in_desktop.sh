#!/bin/bash
# Runs a test program inside a Wine virtual desktop, whose taskbar shows tray
# icons, and passes on its verdict (explorer's own exit status says nothing).
# The desktop gets an X display and a Wine prefix of its own: a desktop
# window on the display the other test programs share would take their
# focus, and its programs their single instance.
#
# usage: in_desktop.sh TEST_EXE [GTEST ARGUMENTS...]
set -u
exe=$(realpath -e "$1") || { echo "no such file: $1" >&2; exit 2; }
shift
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d /tmp/in-desktop.XXXXXX)
. "$here/../../scripts/wine-env.sh"
trap 'wine_env_stop; rm -rf "$work"' EXIT
wine_env_start "$work/env"
winpath() { printf 'Z:%s' "$1" | tr / '\\'; }
cd "$(dirname "$exe")" || exit 2
KS_DESKTOP=1 "$WINE64" explorer "/desktop=kstest$$,1280x1024" "$(winpath "$exe")" "$@" \
    "--gtest_output=xml:$(winpath "$work/result.xml")" </dev/null >"$work/out.log" 2>&1
cat "$work/out.log"
[ -s "$work/result.xml" ] || { echo "in_desktop: the program left no result" >&2; exit 1; }
grep -q '<testsuites[^>]* failures="0"' "$work/result.xml" && ! grep -q '<testsuites[^>]* errors="[1-9]' "$work/result.xml"
