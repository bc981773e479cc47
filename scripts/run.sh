#!/usr/bin/env bash
# Installs prerequisites, builds the 32-bit release (build/win32) and starts
# it under Wine in a virtual desktop, in the prefix ~/.kestrabel-wine (or
# WINEPREFIX). With DISPLAY set, the desktop opens there; without it, on a
# private Xvfb display that is free (Xvfb picks the number). When the
# program ends (its tray menu's Exit), what this script started is stopped:
# its Xvfb, and the prefix's Wine server with Wine's own processes unless
# that server was running before.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/prereqs.sh"
"$root/scripts/build.sh" release
. "$root/scripts/wine-env.sh"
export WINEPREFIX="${WINEPREFIX:-$HOME/.kestrabel-wine}" WINEDEBUG=-all WINEARCH=win64
release="$root/build/win32"

# The id of the Wine server of the prefix, if one runs: the server works in
# a folder named after the prefix's device and inode.
prefix_server() {
  local want p
  [ -d "$WINEPREFIX" ] || return 1
  want=$(printf 'server-%x-%x' "$(stat -c %d "$WINEPREFIX")" "$(stat -c %i "$WINEPREFIX")")
  for p in /proc/[0-9]*; do
    case "$(readlink "$p/exe" 2>/dev/null)" in */wineserver*) ;; *) continue ;; esac
    case "$(readlink "$p/cwd" 2>/dev/null)" in */"$want") echo "${p#/proc/}"; return 0 ;; esac
  done
  return 1
}

run_dir=$(mktemp -d /tmp/kestrabel-run.XXXXXX)
server_before=$(prefix_server || true)
stop() {
  if [ -z "$server_before" ]; then "$WINESERVER" -k </dev/null >/dev/null 2>&1 || true; fi
  if [ -n "${KS_XVFB_PID:-}" ]; then
    kill "$KS_XVFB_PID" 2>/dev/null || true
    wait "$KS_XVFB_PID" 2>/dev/null || true
  fi
  rm -rf "$run_dir"
}
trap stop EXIT
trap 'exit 130' INT TERM HUP

private=""
if [ -z "${DISPLAY:-}" ]; then
  wine_display_start "$run_dir"
  private=1
fi
[ -d "$WINEPREFIX" ] || "$WINE64" wineboot -i </dev/null >/dev/null 2>&1
wine_font_replacements

if [ -n "$private" ]; then
  where="on the private X display $DISPLAY (Xvfb, not on a screen)"
else
  where="on the X display $DISPLAY, in the window \"Kestrabel - Wine desktop\""
fi
cat <<EOF
Kestrabel starts $where.
  Stop it:    Exit in its tray menu. In the virtual desktop the tray icon
              sits in Wine's taskbar at the bottom right: right-click it.
  Look at it: import -display $DISPLAY -window root shot.png
  Settings:   $release/Kestrabel.INI
  Day's data: $release/Data/Counters.dat and the day log $release/Data/ks_data.csv
EOF
cd "$release"
"$WINE64" explorer /desktop=Kestrabel,1280x1024 Kestrabel.exe </dev/null || true
if [ -n "$private" ]; then
  echo "Kestrabel ended; the Xvfb on $DISPLAY is stopped."
else
  echo "Kestrabel ended."
fi
