# Sourced: a private X display, Wine prefix and persistent wineserver for one
# run. `wine_env_start` sets everything up, `wine_env_stop` tears it down and
# leaves no Wine or Xvfb process behind.
WINE64=/usr/lib/wine/wine64
WINESERVER=/usr/lib/wine/wineserver
[ -x "$WINE64" ] || WINE64=$(command -v wine64 || command -v wine)
[ -x "$WINESERVER" ] || WINESERVER=$(command -v wineserver)
export WINE64 WINESERVER

wine_env_start() {
  local run_dir=$1
  mkdir -p "$run_dir"
  export WINEPREFIX="$run_dir/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winealsa.drv,winepulse.drv,wineoss.drv=" WINEARCH=win64
  unset http_proxy https_proxy HTTP_PROXY HTTPS_PROXY no_proxy NO_PROXY
  local n
  for n in $(seq 90 140); do
    if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then break; fi
  done
  export DISPLAY=":$n"
  Xvfb "$DISPLAY" -screen 0 1280x1024x24 -nolisten tcp </dev/null >/dev/null 2>&1 &
  KS_XVFB_PID=$!
  for _ in $(seq 1 50); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
  mkdir -p "$WINEPREFIX"
  "$WINESERVER" -p </dev/null >/dev/null 2>&1
  "$WINE64" wineboot -i </dev/null >/dev/null 2>&1 || true
  wine_font_replacements
  wine_unmanaged_windows
  sleep 1
}

# No window manager runs on the private display: Wine would wait two
# seconds for one on every hide or destroy of a captioned window. The
# dashboard's tests open and close a captioned window a thousand times, so
# their program's windows are left unmanaged; the other programs keep
# managed windows, whose focus and activation their tests rely on.
wine_unmanaged_windows() {
  "$WINE64" reg add 'HKCU\Software\Wine\AppDefaults\test_ui.exe\X11 Driver' /v Managed /t REG_SZ /d N /f \
    </dev/null >/dev/null 2>&1 || true
}

# GDI+ finds no "Arial" nor a generic sans-serif family in a fresh prefix:
# map both faces the charts ask for to the Liberation look-alike.
wine_font_replacements() {
  local face
  for face in "Arial" "Microsoft Sans Serif"; do
    "$WINE64" reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "$face" /t REG_SZ \
      /d "Liberation Sans" /f </dev/null >/dev/null 2>&1 || true
  done
}

wine_env_stop() {
  [ -n "${WINEPREFIX:-}" ] && "$WINESERVER" -k </dev/null >/dev/null 2>&1 || true
  [ -n "${KS_XVFB_PID:-}" ] && kill "$KS_XVFB_PID" 2>/dev/null || true
  wait 2>/dev/null || true
}
