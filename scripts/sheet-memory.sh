#!/usr/bin/env bash
# What each open and close of the settings sheet costs the program's memory,
# beside a baseline: tools/sheetfloor.c, a plain Win32 program that opens a
# property sheet of the same page templates (read from the program's own
# resources) through the same commands, with dialog procedures that do
# nothing. Whatever the plain program also keeps per open is the system's
# (Wine's), not the program's.
#
# The program is started in a fresh portable folder (default settings, the
# update check off) on a private Xvfb display, and tests/bench/sheet_driver
# opens its sheet CYCLES times through a main-window command, shows the pages
# asked for and closes it. The process's anonymous memory (smaps_rollup) is
# read before the first cycle and after every STEP cycles; the script prints
# the growth per cycle over the measured span (after the first STEP cycles,
# the warm-up), from the least-squares slope of those readings.
#
#   scripts/sheet-memory.sh [--no-build]
#   SHEET_BUILD=win64|win32   the 64-bit build under wine64 (default: its
#                             figures are clean) or the 32-bit release under
#                             32-bit Wine, which here runs under qemu-i386
#                             user-mode emulation: the process then also holds
#                             qemu's translated code, which grows as new code
#                             runs, so its figures read high
#   SHEET_CYCLES=1000 SHEET_STEP=100
#   SHEET_CASES="settings:012345 statistics:- about:-"   command:pages, each
#                             measured in a process of its own
#   SHEET_CLOSE=cancel|ok
#
# Not a test: it measures, and prints figures side by side.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
which=${SHEET_BUILD:-win64}
cycles=${SHEET_CYCLES:-1000}
step=${SHEET_STEP:-100}
cases=${SHEET_CASES:-"settings:012345 statistics:- about:-"}
close=${SHEET_CLOSE:-cancel}
[ "${1:-}" = "--no-build" ] || "$root/scripts/build.sh" >/dev/null

case $which in
  win64) prog_dir="$root/build/win64"; floor="$root/build/win64/sheetfloor.exe" ;;
  win32) prog_dir="$root/build/win32"; floor="$root/build/win32-test/sheetfloor.exe" ;;
  *) echo "sheet-memory: SHEET_BUILD is win64 or win32" >&2; exit 2 ;;
esac
driver="$root/build/win64/sheet_driver.exe"
for f in "$prog_dir/Kestrabel.exe" "$prog_dir/tapvex.dll" "$floor" "$driver"; do
  [ -f "$f" ] || { echo "sheet-memory: $f is missing (build first)" >&2; exit 1; }
done

. "$root/scripts/wine-env.sh"
run_dir=$(mktemp -d /tmp/kestrabel-sheetmem.XXXXXX)
trap 'wine_env_stop; rm -rf "$run_dir"' EXIT
wine_env_start "$run_dir"
# No window manager runs on the private display: Wine would wait two seconds
# on every hide or destroy of a captioned window, the sheet's included.
"$WINE64" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f </dev/null >/dev/null 2>&1 || true

# The Linux process of a Windows program: a 32-bit one by its command line
# (the loader hands it to a process that shows its Windows path), a 64-bit
# one by its name and working folder; waits up to 60 s.
find_pid() {  # folder exe
  local want p args
  want="Z:$(printf '%s' "$1/$2" | tr / '\\')"
  for _ in $(seq 300); do
    for p in /proc/[0-9]*; do
      mapfile -d '' -t args 2>/dev/null <"$p/cmdline" || continue
      if [ "${args[0]:-}" = "$want" ] ||
         { [ "${args[0]:-}" = "$2" ] && [ "$(readlink "$p/cwd" 2>/dev/null)" = "$1" ]; }; then
        echo "${p#/proc/}"; return 0
      fi
    done
    sleep 0.2
  done
  echo "sheet-memory: $2 did not start" >&2; exit 1
}
anon() { awk '/^Anonymous:/{print $2}' "/proc/$1/smaps_rollup"; }

# One measured run: starts the program (or the floor) in a folder of its
# own, drives its sheet, prints "bytes-per-cycle first-kB last-kB".
measure() {  # program-folder exe command pages
  local dir=$1 exe=$2 command=$3 pages=$4 pid line n kb xs=() ys=()
  (cd "$dir" && exec "$WINE64" "$exe" </dev/null >/dev/null 2>&1) &
  pid=$(find_pid "$dir" "$exe")
  coproc DRIVE { "$WINE64" "$driver" "$command" "$pages" "$close" "$cycles" "$step" 2>/dev/null; }
  while read -r line <&"${DRIVE[0]}"; do
    n=${line#* }
    kb=$(anon "$pid")
    xs+=("$n"); ys+=("$kb")
    echo go >&"${DRIVE[1]}"
    [ "${line%% *}" = DONE ] && break
  done
  wait "$DRIVE_PID" 2>/dev/null || true
  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  [ "${#xs[@]}" -ge 3 ] || { echo "sheet-memory: the driver stopped early ($exe $command)" >&2; exit 1; }
  # Least-squares slope over the readings after the warm-up (the first step).
  paste <(printf '%s\n' "${xs[@]:1}") <(printf '%s\n' "${ys[@]:1}") | awk -v first="${ys[0]}" '
    { n++; sx += $1; sy += $2; sxx += $1 * $1; sxy += $1 * $2; last = $2 }
    END { b = (n * sxy - sx * sy) / (n * sxx - sx * sx); printf "%.0f %d %d\n", b * 1024, first, last }'
}

app="$run_dir/app"
mkdir -p "$app" "$run_dir/floor"
cp "$prog_dir/Kestrabel.exe" "$prog_dir/tapvex.dll" "$app/"
cp "$root/build/win32"/*.wav "$app/" 2>/dev/null || true
cp -r "$root/build/win32/Languages" "$app/" 2>/dev/null || true
cp "$floor" "$run_dir/floor/"
cp "$prog_dir/Kestrabel.exe" "$run_dir/floor/"   # the floor reads its page templates

printf 'Settings sheet, anonymous memory per open and close (%s build, %d cycles, slope after the first %d, closed by %s)\n' \
  "$which" "$cycles" "$step" "$close"
printf '%-26s %14s %14s %22s\n' "sheet, pages shown" "Kestrabel" "plain Win32" "Kestrabel kB first/last"
for c in $cases; do
  command=${c%%:*}; pages=${c#*:}
  rm -f "$app/Kestrabel.INI" "$app/Data" 2>/dev/null || true
  rm -rf "$app/Data"
  printf '[Settings]\r\nAutoCheckForUpdates=0\r\nFontSize=80\r\n' >"$app/Kestrabel.INI"
  read -r ks ks0 ks1 < <(measure "$app" Kestrabel.exe "$command" "$pages")
  read -r fl _ _ < <(measure "$run_dir/floor" sheetfloor.exe "$command" "$pages")
  printf '%-26s %8s B/open %8s B/open %12s / %s\n' "$command $pages" "$ks" "$fl" "$ks0" "$ks1"
done
