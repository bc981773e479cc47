# Sourced: a private X display, Wine prefix and persistent wineserver for one
# run. `wine_env_start` sets everything up, `wine_env_stop` tears it down and
# leaves no Wine or Xvfb process behind.
#
# The first `wine_env_start` of a run boots a template prefix and exports
# KS_PREFIX_TEMPLATE; every later one (each test program that CTest starts
# through scripts/wine-exec.sh, each desktop script) copies that template
# and gets an X display of its own. Test programs that show windows thus
# never take one another's focus, pixels, single instance or registry.
WINE64=/usr/lib/wine/wine64
WINESERVER=/usr/lib/wine/wineserver
[ -x "$WINE64" ] || WINE64=$(command -v wine64 || command -v wine)
[ -x "$WINESERVER" ] || WINESERVER=$(command -v wineserver)
export WINE64 WINESERVER

wine_env_start() {
  local run_dir=$1
  mkdir -p "$run_dir"
  export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winealsa.drv,winepulse.drv,wineoss.drv=" WINEARCH=win64
  unset http_proxy https_proxy HTTP_PROXY HTTPS_PROXY no_proxy NO_PROXY
  wine_display_start "$run_dir"
  if [ -z "${KS_PREFIX_TEMPLATE:-}" ] || [ ! -d "$KS_PREFIX_TEMPLATE" ]; then
    wine_template_boot "$run_dir/template"
  fi
  export WINEPREFIX="$run_dir/prefix"
  cp -a "$KS_PREFIX_TEMPLATE" "$WINEPREFIX"
  "$WINESERVER" -p </dev/null >/dev/null 2>&1
}

# An Xvfb on a display number it picks itself (no two starts race for one).
wine_display_start() {
  local run_dir=$1 n
  rm -f "$run_dir/display"
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$run_dir/display" </dev/null >/dev/null 2>&1 &
  KS_XVFB_PID=$!
  for _ in $(seq 1 100); do [ -s "$run_dir/display" ] && break; sleep 0.1; done
  n=$(head -n1 "$run_dir/display")
  [ -n "$n" ] || { echo "wine-env: Xvfb did not start" >&2; return 1; }
  export DISPLAY=":$n"
  for _ in $(seq 1 50); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
}

# Boots a prefix with the run's settings; its wineserver ends (and writes
# the registry) before the prefix is copied.
wine_template_boot() {
  export WINEPREFIX=$1
  mkdir -p "$WINEPREFIX"
  "$WINESERVER" -p5 </dev/null >/dev/null 2>&1
  "$WINE64" wineboot -i </dev/null >/dev/null 2>&1 || true
  wine_font_replacements
  wine_unmanaged_windows
  "$WINE64" wineboot -s </dev/null >/dev/null 2>&1 || true
  "$WINESERVER" -w </dev/null >/dev/null 2>&1 || true
  export KS_PREFIX_TEMPLATE=$WINEPREFIX
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
# map both faces the charts ask for to the Liberation look-alike. Nor does
# the prefix find Wine's own Marlett, whose glyphs draw the caption buttons
# and the tab strip's arrows (without it they show letters): it is copied
# into the prefix's font folder.
wine_font_replacements() {
  local face fonts
  for face in "Arial" "Microsoft Sans Serif"; do
    "$WINE64" reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "$face" /t REG_SZ \
      /d "Liberation Sans" /f </dev/null >/dev/null 2>&1 || true
  done
  fonts="$WINEPREFIX/drive_c/windows/Fonts"
  if [ -f /usr/share/wine/fonts/marlett.ttf ] && [ ! -f "$fonts/marlett.ttf" ]; then
    mkdir -p "$fonts" && cp /usr/share/wine/fonts/marlett.ttf "$fonts/"
  fi
}

wine_env_stop() {
  [ -n "${WINEPREFIX:-}" ] && "$WINESERVER" -k </dev/null >/dev/null 2>&1 || true
  [ -n "${KS_XVFB_PID:-}" ] && kill "$KS_XVFB_PID" 2>/dev/null || true
  wait 2>/dev/null || true
}
