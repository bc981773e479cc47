#!/bin/bash
# Starts counters_saver.exe, kills it with SIGKILL at a random moment while
# it saves, and checks that "Counters.dat" is still two whole lines; KILLS
# times over. Exit status 0 only when every kill left a whole file.
#
# usage: counters_kill.sh SAVER_EXE [KILLS]
# Environment: WINEPREFIX (a booted prefix, best with a persistent
# wineserver) and WINE64 or WINE (the loader), as scripts/wine-env.sh sets.
set -u
exe=$(realpath -e "$1") || { echo "no such file: $1" >&2; exit 2; }
kills=${2:-12}
WINE=${WINE:-${WINE64:-$(command -v wine64 || echo /usr/lib/wine/wine64)}}
export WINEDEBUG=${WINEDEBUG:--all}
work=$(mktemp -d /tmp/counters-kill.XXXXXX)
pid=
cleanup() {
    [ -n "$pid" ] && kill -9 "$pid" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
file=$work/Counters.dat
whole=$'^[0-9]+-[0-9]+-[0-9]+\r\n[0-9]+;-?[0-9]+;[0-9]+;[0-9]+;[0-9]+;[0-9]+;[0-9]+\r\n$'
bad=0
saves=0
for ((k = 1; k <= kills; k++)); do
    "$WINE" "$exe" "Z:$(printf '%s' "$work" | tr / '\\')" </dev/null >"$work/out.log" 2>&1 &
    pid=$!
    # The first save tells that the program runs; then it saves without end.
    for _ in $(seq 300); do
        [ -e "$file" ] && break
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.05
    done
    [ -e "$file" ] || { echo "counters_kill: the saver never saved: $(cat "$work/out.log")" >&2; exit 1; }
    sleep "0.$((RANDOM % 4 + 1))$((RANDOM % 10))"
    kill -9 "$pid"
    wait "$pid" 2>/dev/null
    pid=
    content=$(cat "$file"; echo x)
    content=${content%x}
    if [[ ! $content =~ $whole ]]; then
        bad=$((bad + 1))
        printf 'counters_kill: kill %d left %d bytes: %q\n' "$k" "${#content}" "$content"
    else
        second=${content#*$'\n'}
        saves=$((saves + ${second%%;*}))
    fi
    # Whatever a save left beside the file stays for the next run, as after
    # a real crash.
    rm -f "$file"
done
echo "counters_kill: $kills kills, $bad left a broken file; $saves saves were made before the kills"
[ "$bad" -eq 0 ]
