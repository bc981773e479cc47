#!/usr/bin/env bash
# What Kestrabel costs while it waits, against the floor of an empty Win32
# program (tools/idlefloor.c: a hidden window and a one-second timer), and
# beside that floor asking each second what Kestrabel's tick must ask (the
# screen saver's state and the cursor): the part of the cost that belongs
# to those questions and not to the program.
#
# What is measured is what users get: the 32-bit release (build/win32), beside
# a 32-bit build of the floor (build/win32-test). All run side by side under
# 32-bit Wine on a private Xvfb display, in one fresh prefix: Kestrabel from a
# fresh portable folder with the default settings and the update check off. After a settling time both are sampled for the
# same span; the script prints each one's CPU share of one core, voluntary
# and involuntary context switches per second (every thread of the process),
# PSS and RSS, the ratios, and the size of the release as shipped.
#
#   scripts/footprint.sh [--no-build]     settle 20 s, sample 60 s
#   FOOTPRINT_SETTLE=30 FOOTPRINT_SECONDS=120 scripts/footprint.sh
#
# Not a test: the figures depend on the machine and on what else runs on it.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
settle=${FOOTPRINT_SETTLE:-20}
span=${FOOTPRINT_SECONDS:-60}
[ "${1:-}" = "--no-build" ] || "$root/scripts/build.sh" >/dev/null

rel="$root/build/win32"
floor="$root/build/win32-test/idlefloor.exe"
for f in "$rel/Kestrabel.exe" "$rel/tapvex.dll" "$floor"; do
  [ -f "$f" ] || { echo "footprint: $f is missing (build first)" >&2; exit 1; }
done

. "$root/scripts/wine-env.sh"
run_dir=$(mktemp -d /tmp/kestrabel-footprint.XXXXXX)
trap 'wine_env_stop; rm -rf "$run_dir"' EXIT
wine_env_start "$run_dir"

# A fresh portable folder: the program, its hook library, sounds and
# languages, and settings that only say "no update check" (the font size
# marks the settings as seen, so no first-run window opens).
app="$run_dir/app"
mkdir -p "$app" "$run_dir/floor"
cp "$rel/Kestrabel.exe" "$rel/tapvex.dll" "$rel"/*.wav "$app/"
cp -r "$rel/Languages" "$app/"
printf '[Settings]\r\nAutoCheckForUpdates=0\r\nFontSize=80\r\n' >"$app/Kestrabel.INI"
cp "$floor" "$run_dir/floor/"

start() {  # folder exe [argument]: starts it
  (cd "$1" && exec "$WINE64" "$2" ${3:+"$3"} </dev/null >/dev/null 2>&1) &
}
# A 32-bit program does not run in the process the loader starts: the loader
# hands it to a new one. Each program's process is found by its command line
# (its Windows path, and its argument); prints its id, waiting up to 60 s.
find_pid() {  # folder exe [argument]
  local want p args
  want="Z:$(printf '%s' "$1/$2" | tr / '\\')"
  for _ in $(seq 300); do
    for p in /proc/[0-9]*; do
      mapfile -d '' -t args 2>/dev/null <"$p/cmdline" || continue
      if [ "${args[0]:-}" = "$want" ] && [ "${args[1]:-}" = "${3:-}" ]; then
        echo "${p#/proc/}"; return 0
      fi
    done
    sleep 0.2
  done
  echo "footprint: $2 ${3:-} did not start" >&2; exit 1
}
start "$app" Kestrabel.exe
start "$run_dir/floor" idlefloor.exe
start "$run_dir/floor" idlefloor.exe queries
pid_ks=$(find_pid "$app" Kestrabel.exe)
pid_floor=$(find_pid "$run_dir/floor" idlefloor.exe)
pid_q=$(find_pid "$run_dir/floor" idlefloor.exe queries)
sleep "$settle"
for p in $pid_ks $pid_floor $pid_q; do
  [ -d "/proc/$p" ] || { echo "footprint: a program ended during the settling time" >&2; exit 1; }
done

# Run time in nanoseconds and voluntary, involuntary switches, summed over
# the process's threads.
sample() {
  local pid=$1 run=0 vol=0 invol=0 t
  for t in /proc/"$pid"/task/*; do
    read -r ns _ <"$t/schedstat" 2>/dev/null || continue
    run=$((run + ns))
    vol=$((vol + $(awk '/^voluntary_ctxt_switches/{print $2}' "$t/status" 2>/dev/null || echo 0)))
    invol=$((invol + $(awk '/^nonvoluntary_ctxt_switches/{print $2}' "$t/status" 2>/dev/null || echo 0)))
  done
  echo "$run $vol $invol"
}
memory() {  # PSS and RSS in kB
  awk '/^Pss:/{p=$2} /^Rss:/{r=$2} END{print p, r}' "/proc/$1/smaps_rollup"
}

read -r ks_run0 ks_vol0 ks_inv0 < <(sample "$pid_ks")
read -r fl_run0 fl_vol0 fl_inv0 < <(sample "$pid_floor")
read -r q_run0 q_vol0 q_inv0 < <(sample "$pid_q")
t0=$(date +%s%N)
sleep "$span"
read -r ks_run1 ks_vol1 ks_inv1 < <(sample "$pid_ks")
read -r fl_run1 fl_vol1 fl_inv1 < <(sample "$pid_floor")
read -r q_run1 q_vol1 q_inv1 < <(sample "$pid_q")
t1=$(date +%s%N)
read -r ks_pss ks_rss < <(memory "$pid_ks")
read -r fl_pss fl_rss < <(memory "$pid_floor")
read -r q_pss q_rss < <(memory "$pid_q")
dlls() { grep -io '[^/]*\.dll$' "/proc/$1/maps" | tr 'A-Z' 'a-z' | sort -u; }
extra_dlls=$(comm -23 <(dlls "$pid_ks") <(dlls "$pid_floor") | tr '\n' ' ')
threads_ks=$(ls /proc/"$pid_ks"/task | wc -l)
threads_fl=$(ls /proc/"$pid_floor"/task | wc -l)

size_exe=$(stat -c %s "$rel/Kestrabel.exe")
size_dll=$(stat -c %s "$rel/tapvex.dll")

awk -v el=$((t1 - t0)) -v span="$span" -v settle="$settle" \
    -v kr=$((ks_run1 - ks_run0)) -v kv=$((ks_vol1 - ks_vol0)) -v ki=$((ks_inv1 - ks_inv0)) \
    -v fr=$((fl_run1 - fl_run0)) -v fv=$((fl_vol1 - fl_vol0)) -v fi=$((fl_inv1 - fl_inv0)) \
    -v qr=$((q_run1 - q_run0)) -v qv=$((q_vol1 - q_vol0)) -v qi=$((q_inv1 - q_inv0)) \
    -v kp="$ks_pss" -v kR="$ks_rss" -v fp="$fl_pss" -v fR="$fl_rss" -v qp="$q_pss" -v qR="$q_rss" \
    -v extra="$extra_dlls" -v kt="$threads_ks" -v ft="$threads_fl" -v se="$size_exe" -v sd="$size_dll" '
function ratio(a, b) { return b > 0 ? sprintf("%.2f x", a / b) : "-" }
BEGIN {
  s = el / 1e9
  kc = 100 * kr / el; fc = 100 * fr / el; qc = 100 * qr / el
  printf "Idle footprint, the 32-bit release and floor under Wine on Xvfb, settled %d s, sampled %.1f s (main process, all threads)\n", settle, s
  printf "%-34s %11s %11s %8s %13s %8s\n", "", "Kestrabel", "empty Win32", "ratio", "+ the queries", "ratio"
  printf "%-34s %10.3f%% %10.3f%% %8s %12.3f%% %8s\n", "CPU, share of one core", kc, fc, ratio(kc, fc), qc, ratio(qc, fc)
  printf "%-34s %11.2f %11.2f %8s %13.2f %8s\n", "voluntary context switches / s", kv / s, fv / s, ratio(kv, fv), qv / s, ratio(qv, fv)
  printf "%-34s %11.2f %11.2f %8s %13.2f %8s\n", "involuntary context switches / s", ki / s, fi / s, ratio(ki, fi), qi / s, ratio(qi, fi)
  printf "%-34s %8.1f MB %8.1f MB %8s %10.1f MB %8s\n", "PSS", kp / 1024, fp / 1024, ratio(kp, fp), qp / 1024, ratio(qp, fp)
  printf "%-34s %8.1f MB %8.1f MB %8s %10.1f MB %8s\n", "RSS", kR / 1024, fR / 1024, ratio(kR, fR), qR / 1024, ratio(qR, fR)
  printf "%-34s %11d %11d\n", "threads", kt, ft
  printf "(+ the queries: the empty program asking each second what the tick asks: screen saver, cursor)\n"
  printf "DLLs mapped beyond the floor: %s\n", extra
  printf "Release (build/win32): Kestrabel.exe %d + tapvex.dll %d = %d bytes\n", se, sd, se + sd
}'
