#!/usr/bin/env bash
# CTest's emulator: runs one Windows test program under the run's Wine.
# The program's output goes through a file: a Wine service process that the
# program happens to start (the desktop process) would otherwise inherit the
# pipe to CTest and keep it open until the end of the whole run.
out=$(mktemp /tmp/ks-test-out.XXXXXX)
"${WINE64:-/usr/lib/wine/wine64}" "$@" >"$out" 2>&1 </dev/null
rc=$?
cat "$out"
rm -f "$out"
exit $rc
