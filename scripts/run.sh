#!/usr/bin/env bash
# Installs prerequisites, builds both targets and starts Kestrabel (the 64-bit
# build, as these machines cannot run 32-bit code) under Wine in a virtual
# desktop on a private X display. With DISPLAY already set, that display is used.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/prereqs.sh"
"$root/scripts/build.sh"
. "$root/scripts/wine-env.sh"
export WINEPREFIX="${WINEPREFIX:-$HOME/.kestrabel-wine}" WINEDEBUG=-all
if [ -z "${DISPLAY:-}" ]; then
  export DISPLAY=:99
  Xvfb :99 -screen 0 1280x1024x24 </dev/null >/dev/null 2>&1 &
  sleep 1
fi
wine_font_replacements
cd "$root/build/win64"
exec "$WINE64" explorer /desktop=Kestrabel,1280x1024 Kestrabel.exe
