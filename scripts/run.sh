#!/usr/bin/env bash
# Installs prerequisites, builds, and starts what users get, the 32-bit
# release (build/win32/Kestrabel.exe), under Wine in a virtual desktop on a
# private X display. With DISPLAY already set, that display is used.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/prereqs.sh"
"$root/scripts/build.sh"
. "$root/scripts/wine-env.sh"
export WINEPREFIX="${WINEPREFIX:-$HOME/.kestrabel-wine}" WINEDEBUG=-all WINEARCH=win64
if [ -z "${DISPLAY:-}" ]; then
  export DISPLAY=:99
  Xvfb :99 -screen 0 1280x1024x24 </dev/null >/dev/null 2>&1 &
  sleep 1
fi
[ -d "$WINEPREFIX" ] || "$WINE64" wineboot -i </dev/null >/dev/null 2>&1
wine_font_replacements
cd "$root/build/win32"
exec "$WINE64" explorer /desktop=Kestrabel,1280x1024 Kestrabel.exe
