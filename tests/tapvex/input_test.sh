#!/bin/bash
# Runs tapvex_input_test.exe in a Wine virtual desktop and plays the input it
# asks for with xdotool (see input_test.cpp for the hand-shake). Exit status 0
# only when the program wrote PASS.
#
# usage: input_test.sh TEST_EXE [TAPVEX_DLL]
#   TAPVEX_DLL defaults to tapvex.dll beside TEST_EXE.
#
# Environment taken from the caller: DISPLAY (an X server, e.g. Xvfb),
# WINEPREFIX (a booted prefix, best with a persistent wineserver), WINE or
# WINE64 (the loader, default wine64), WINESERVER. Without DISPLAY the script
# starts its own Xvfb; without WINEPREFIX it makes, boots and afterwards
# removes its own prefix. Either way it ends every process it started.
# X input is global to the display: nothing else may run on it meanwhile.
set -u

TIMEOUT_STARTUP=90   # seconds until the program first asks for input
TIMEOUT_STEP=30      # seconds for each later request and for the result

die() { echo "input_test: $*" >&2; exit 1; }

[ $# -ge 1 ] && [ $# -le 2 ] || { echo "usage: $0 TEST_EXE [TAPVEX_DLL]" >&2; exit 2; }
exe=$(realpath -e "$1") || die "no such file: $1"
dll=$(realpath -e "${2:-$(dirname "$exe")/tapvex.dll}") || die "no tapvex.dll for $exe"
command -v xdotool >/dev/null || die "xdotool is not installed"

WINE=${WINE:-${WINE64:-}}
if [ -z "$WINE" ]; then
    WINE=$(command -v wine64 || echo /usr/lib/wine/wine64)
fi
[ -x "$WINE" ] || command -v "$WINE" >/dev/null || die "no Wine loader: $WINE"
if [ -z "${WINESERVER:-}" ] || [ ! -x "$WINESERVER" ]; then
    WINESERVER=$(command -v wineserver || echo /usr/lib/wine/wineserver64)
fi
export WINEDEBUG=${WINEDEBUG:--all}

work=$(mktemp -d /tmp/tapvex-input.XXXXXX) || die "mktemp failed"
sync=$work/sync
mkdir "$sync"
log=$work/wine.log
xvfb_pid=
own_prefix=
launcher_pid=

winpath() { printf 'Z:%s' "$1" | tr / '\\'; }

# The Wine processes of this run (explorer and the test program) detach from
# the launcher; they are the ones whose command line names our sync directory.
our_wine_pids() {
    local token pid cmd
    token=$(winpath "$sync")
    for pid in /proc/[0-9]*; do
        pid=${pid#/proc/}
        cmd=$(tr '\0' ' ' 2>/dev/null <"/proc/$pid/cmdline") || continue
        [[ $cmd == *"$token"* ]] && echo "$pid"
    done
}

cleanup() {
    local pids pid
    if [ -n "$launcher_pid" ] && kill -0 "$launcher_pid" 2>/dev/null; then
        kill "$launcher_pid" 2>/dev/null
    fi
    pids=$(our_wine_pids)
    if [ -n "$pids" ]; then
        kill $pids 2>/dev/null
        sleep 1
        for pid in $pids; do kill -0 "$pid" 2>/dev/null && kill -9 "$pid" 2>/dev/null; done
    fi
    if [ -n "$own_prefix" ]; then
        WINEPREFIX=$own_prefix "$WINESERVER" -k </dev/null >/dev/null 2>&1
    fi
    if [ -n "$xvfb_pid" ]; then
        kill "$xvfb_pid" 2>/dev/null
        wait "$xvfb_pid" 2>/dev/null
    fi
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 1' INT TERM HUP

# wait_for FILE SECONDS: true once FILE exists.
wait_for() {
    local deadline=$((SECONDS + $2))
    while [ ! -e "$1" ]; do
        [ $SECONDS -ge $deadline ] && return 1
        sleep 0.1
    done
}

if [ -z "${DISPLAY:-}" ]; then
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" >"$work/xvfb.log" 2>&1 &
    xvfb_pid=$!
    deadline=$((SECONDS + 20))
    until [ -s "$work/display" ]; do
        [ $SECONDS -ge $deadline ] && die "Xvfb did not start: $(cat "$work/xvfb.log")"
        sleep 0.1
    done
    export DISPLAY=:$(head -n1 "$work/display")
fi

if [ -z "${WINEPREFIX:-}" ]; then
    own_prefix=$work/prefix
    export WINEPREFIX=$own_prefix
    # Wine's helpers inherit these descriptors: keep them off our pipes.
    "$WINESERVER" -p </dev/null >/dev/null 2>&1
    timeout 120 "$WINE" wineboot -i </dev/null >/dev/null 2>&1 || die "wineboot failed"
fi

desktop=tapvextest$$
"$WINE" explorer "/desktop=$desktop,1024x768" "$(winpath "$exe")" "$(winpath "$sync")" "$(winpath "$dll")" \
    </dev/null >"$log" 2>&1 &
launcher_pid=$!

fail() {
    echo "input_test: $*" >&2
    [ -s "$sync/result" ] && { echo "program reported:" >&2; cat "$sync/result" >&2; }
    [ -s "$log" ] && { echo "wine output (last lines):" >&2; tail -n 20 "$log" >&2; }
    exit 1
}

# The program asks for input in phases 1, 2, 3... until it writes its result.
phase=1
limit=$TIMEOUT_STARTUP
while :; do
    deadline=$((SECONDS + limit))
    until [ -e "$sync/ready$phase" ] || [ -e "$sync/result" ]; do
        [ $SECONDS -ge $deadline ] && fail "timed out waiting for the program (phase $phase)"
        sleep 0.1
    done
    [ -e "$sync/result" ] && break
    read -r x y keys clicks moves wheels hold < "$sync/ready$phase" || fail "unreadable request ready$phase"
    moves=${moves:-0} wheels=${wheels:-0} hold=${hold:-0}

    wid=
    for _ in $(seq 50); do
        wid=$(xdotool search --name "^$desktop - " 2>/dev/null | head -n1)
        [ -n "$wid" ] && break
        sleep 0.1
    done
    [ -n "$wid" ] || fail "no X window for the Wine desktop $desktop"

    xdotool mousemove --window "$wid" "$x" "$y" || fail "xdotool mousemove failed"
    sleep 0.3
    for ((i = 0; i < clicks; i++)); do
        xdotool click 1 || fail "xdotool click failed"
        sleep 0.3
    done
    for ((i = 0; i < keys; i++)); do
        xdotool key x || fail "xdotool key failed"
        sleep 0.1
    done
    # Cursor moves within the window, ending where they began.
    for ((i = 0; i < moves; i++)); do
        if ((i % 2 == 0)); then xdotool mousemove_relative -- 7 5; else xdotool mousemove_relative -- -7 -5; fi \
            || fail "xdotool mousemove_relative failed"
        sleep 0.05
    done
    # Wheel notches, alternately away and back (buttons 4 and 5).
    for ((i = 0; i < wheels; i++)); do
        xdotool click $((4 + i % 2)) || fail "xdotool wheel click failed"
        sleep 0.2
    done
    # hold > 0: key y held down that many milliseconds (the display repeats
    # it meanwhile); -1: key y only goes down; -2: it only comes up.
    if ((hold > 0)); then
        xdotool keydown y && sleep "$(awk "BEGIN { print $hold / 1000 }")" && xdotool keyup y \
            || fail "xdotool key hold failed"
    elif ((hold == -1)); then
        xdotool keydown y || fail "xdotool keydown failed"
    elif ((hold == -2)); then
        xdotool keyup y || fail "xdotool keyup failed"
    fi
    sleep 0.3
    : > "$sync/sent$phase"

    phase=$((phase + 1))
    limit=$TIMEOUT_STEP
done

result=$(cat "$sync/result")
[ -s "$sync/counts" ] && cat "$sync/counts"
# Explorer closes the desktop a few seconds after the program's window goes.
deadline=$((SECONDS + TIMEOUT_STEP))
while kill -0 "$launcher_pid" 2>/dev/null && [ $SECONDS -lt $deadline ]; do sleep 0.2; done

if [ "$result" = "PASS" ]; then
    echo "input_test: PASS ($((phase - 1)) input phases)"
    exit 0
fi
fail "the program found faults"
