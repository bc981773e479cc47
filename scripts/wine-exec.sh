#!/usr/bin/env bash
# CTest's emulator: runs one Windows test program under Wine. Within a run
# prepared by scripts/wine-env.sh (KS_PREFIX_TEMPLATE set) the program gets
# an X display and a copy of the run's prefix of its own, with its own
# wineserver, all gone when it ends.
# The program's output goes through a file: a Wine service process that the
# program happens to start (the desktop process) would otherwise inherit the
# pipe to CTest and keep it open until the end of the whole run.
out=$(mktemp /tmp/ks-test-out.XXXXXX)
if [ -n "${KS_PREFIX_TEMPLATE:-}" ] && [ -d "$KS_PREFIX_TEMPLATE" ]; then
  . "$(dirname "$0")/wine-env.sh"
  env_dir=$(mktemp -d /tmp/ks-test-env.XXXXXX)
  trap 'wine_env_stop; rm -rf "$env_dir"' EXIT
  wine_env_start "$env_dir"
fi
"${WINE64:-/usr/lib/wine/wine64}" "$@" >"$out" 2>&1 </dev/null
rc=$?
cat "$out"
rm -f "$out"
exit $rc
