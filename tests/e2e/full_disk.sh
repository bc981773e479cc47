#!/bin/bash
# A disk that takes no more bytes: the release runs under a file size limit
# of 1 KiB, then of none at all, with SIGXFSZ ignored so that its writes
# fail with EFBIG; test_e2e's IniSaveE2E.AFullDisk* steers it (an Apply, then
# the exit) and checks the warning and the untouched settings file. The
# folder and its settings file are laid out here, before the limit, which
# the test program and the program it starts inherit.
#
# usage: full_disk.sh TEST_E2E_EXE RELEASE_FOLDER
set -u
exe=$(realpath -e "$1") || { echo "no such file: $1" >&2; exit 2; }
release=$(realpath -e "$2") || { echo "no such folder: $2" >&2; exit 2; }
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d /tmp/full-disk.XXXXXX)
. "$here/../../scripts/wine-env.sh"
reader=
trap '[ -n "$reader" ] && kill "$reader" 2>/dev/null; wine_env_stop; rm -rf "$work"' EXIT
wine_env_start "$work/env"
winpath() { printf 'Z:%s' "$1" | tr / '\\'; }
status=0
for limit in 1 0; do
    app=$work/app$limit
    mkdir -p "$app/Languages"
    cp "$release/Kestrabel.exe" "$release/tapvex.dll" "$release"/*.wav "$app/" 2>/dev/null
    cp "$release"/Languages/*.lang "$app/Languages/" 2>/dev/null
    # Numbers as the program never writes them: every key a save writes
    # changes. Longer than the 1 KiB limit.
    {
        printf '; settings seeded before the limit\r\n'
        for i in $(seq 1 24); do printf '; line %02d of a comment that makes the file longer than 1 KiB\r\n' "$i"; done
        printf '[Settings]\r\nFontSize=+80\r\nAutoCheckForUpdates=00\r\nDelay=+20\r\nUseSound=01\r\nExtraKey=kept\r\n'
        printf '[Other]\r\nName=kept\r\n'
    } >"$app/Kestrabel.INI"
    # The output goes through a pipe, which the limit does not cover, to a
    # reader started outside it; Wine's service processes inherit the pipe
    # and keep it open, so the reader is ended once the test has.
    mkfifo "$work/pipe$limit"
    cat "$work/pipe$limit" >"$work/out$limit.log" &
    reader=$!
    (
        ulimit -f "$limit"
        trap '' XFSZ
        export KS_FULL_DISK_DIR="$(winpath "$app")\\"
        exec "$WINE64" "$(winpath "$exe")" --gtest_filter='IniSaveE2E.AFullDisk*'
    ) >"$work/pipe$limit" 2>&1 </dev/null
    rc=$?
    sleep 1
    kill "$reader" 2>/dev/null
    reader=
    echo "== file size limit $limit KiB: exit status $rc"
    cat "$work/out$limit.log"
    if [ "$rc" -ne 0 ] || ! grep -q '^\[  PASSED  \] 1 test' "$work/out$limit.log" || grep -q 'SKIPPED' "$work/out$limit.log"; then
        status=1
    fi
done
exit $status
