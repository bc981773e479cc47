#!/bin/bash
# The real program in a Wine virtual desktop while xdotool moves the cursor
# without pause and nothing else happens: with "TrackMouseMove" 1 the moves
# are activity, with 0 they are not, and after the one minute of
# "PauseDelay" the icon shows the pause mark (its yellow corner). Mouse
# tracking is on in both: the hook library must not count moves.
# Each case has an X display and a Wine prefix of its own; both run at once.
#
# usage: track_move.sh BUILD_FOLDER   (holding Kestrabel.exe and tapvex.dll)
set -u
build=$(realpath -e "$1") || { echo "no such folder: $1" >&2; exit 2; }
WINE=${WINE:-${WINE64:-$(command -v wine64 || echo /usr/lib/wine/wine64)}}
WINESERVER=${WINESERVER:-$(command -v wineserver || echo /usr/lib/wine/wineserver)}
export WINEDEBUG=-all WINEARCH=win64 WINEDLLOVERRIDES="mscoree,mshtml=;winealsa.drv,winepulse.drv,wineoss.drv="
unset http_proxy https_proxy HTTP_PROXY HTTPS_PROXY
work=$(mktemp -d /tmp/track-move.XXXXXX)
trap 'rm -rf "$work"' EXIT
winpath() { printf 'Z:%s' "$1" | tr / '\\'; }

# run_case MOVE: the yellow pixels of the screen after 70 s of moves.
run_case() {
    local move=$1 dir=$work/case$1 xvfb display pids pid
    mkdir -p "$dir/prog"
    cp "$build/Kestrabel.exe" "$build/tapvex.dll" "$build"/*.wav "$dir/prog/" 2>/dev/null
    printf '[Settings]\r\nFontSize=80\r\nAutoCheckForUpdates=0\r\nTrackMouse=1\r\nTrackKeyboard=1\r\nTrackMouseMove=%s\r\nEnablePauses=1\r\nPauseDelay=1\r\n' \
        "$move" > "$dir/prog/Kestrabel.INI"
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$dir/display" >/dev/null 2>&1 &
    xvfb=$!
    for _ in $(seq 100); do [ -s "$dir/display" ] && break; sleep 0.1; done
    display=:$(head -n1 "$dir/display")
    (
        export DISPLAY=$display WINEPREFIX=$dir/prefix
        "$WINESERVER" -p </dev/null >/dev/null 2>&1
        timeout 120 "$WINE" wineboot -i </dev/null >/dev/null 2>&1
        cd "$dir/prog" || exit 1
        "$WINE" explorer "/desktop=track$move,1024x768" "$(winpath "$dir/prog/Kestrabel.exe")" </dev/null >/dev/null 2>&1 &
        # The activity baseline is taken when the program starts: from its
        # first tick (which writes its counters) on, 70 seconds of moves
        # away from the taskbar.
        for _ in $(seq 900); do
            [ -e "$dir/prog/Data/Counters.dat" ] && break
            sleep 0.1
        done
        end=$((SECONDS + 70))
        while [ $SECONDS -lt $end ]; do
            xdotool mousemove 400 300; sleep 0.25
            xdotool mousemove 430 320; sleep 0.25
        done
        import -window root "$dir/shot.png" 2>/dev/null
        [ -n "${TRACK_MOVE_SHOTS:-}" ] && cp "$dir/shot.png" "$TRACK_MOVE_SHOTS-$move.png"
        convert "$dir/shot.png" -fill black +opaque "rgb(255,255,0)" -fill white -opaque "rgb(255,255,0)" \
            -format "%[fx:int(mean*w*h+0.5)]" info: > "$dir/yellow" 2>/dev/null
        "$WINESERVER" -k </dev/null >/dev/null 2>&1
    )
    kill "$xvfb" 2>/dev/null
    wait "$xvfb" 2>/dev/null
}

run_case 0 & a=$!
run_case 1 & b=$!
wait $a $b
y0=$(cat "$work/case0/yellow" 2>/dev/null || echo -1)
y1=$(cat "$work/case1/yellow" 2>/dev/null || echo -1)
echo "track_move: pause-mark pixels after 70 s of cursor moves: TrackMouseMove=0: $y0, TrackMouseMove=1: $y1"
# Paused without movement tracking, still counting with it.
[ "$y0" -ge 20 ] && [ "$y1" -eq 0 ]
