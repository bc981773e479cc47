#!/bin/bash
# scripts/check-image.py against small i686 programs linked here: a
# delay-loaded function whose thunk the link dropped (a delay-import
# library as dlltool alone makes it), the same call through the library
# scripts/delaylib.sh makes, a delay-loaded DLL imported at start-up, and a
# function newer than Windows XP.
set -u
root=$(cd "$(dirname "$0")/../.." && pwd)
check=$root/scripts/check-image.py
tri=i686-w64-mingw32
work=$(mktemp -d /tmp/check-image-test.XXXXXX)
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 2
lib=/usr/$tri/lib/libcomctl32.a
"$root/scripts/delaylib.sh" $tri comctl32.dll "$lib" "$work/mended/libcomctl32_delay.a" || exit 2
mkdir -p plain && (cd mended && $tri-dlltool -k -m i386 -d libcomctl32_delay.def -y ../plain/libcomctl32_delay.a) || exit 2
cat >call.c <<'C'
#include <windows.h>
#include <commctrl.h>
int main(void) { INITCOMMONCONTROLSEX i = { sizeof i, ICC_WIN95_CLASSES }; return !InitCommonControlsEx(&i); }
C
printf '#define _WIN32_WINNT 0x0600\n#include <windows.h>\nint main(void) { return (int)GetTickCount64(); }\n' >newer.c
link() { $tri-gcc-win32 -Os "$2" -o "$1" "${@:3}" || exit 2; }
link dropped.exe call.c plain/libcomctl32_delay.a -lcomctl32
link kept.exe call.c mended/libcomctl32_delay.a -lcomctl32
link startup.exe call.c -lcomctl32
link newer.exe newer.c
bad=0
expect() {  # verdict file pattern options...: the check passes (0) or fails (1) saying pattern
  local want=$1 file=$2 pattern=$3 out rc
  shift 3
  out=$(python3 "$check" "$@" "$file" 2>&1); rc=$?
  if [ "$rc" -ne "$want" ] || ! grep -qi -- "$pattern" <<<"$out"; then
    echo "FAIL: $file $*: exit $rc, expected $want with '$pattern':"; echo "$out"; bad=1
  else
    echo "ok: $file $* ${out:+($(head -n1 <<<"$out"))}"
  fi
}
expect 1 dropped.exe 'InitCommonControlsEx: delay-import slot is empty'
expect 0 kept.exe '' --xp --delayed comctl32
expect 1 startup.exe 'comctl32.dll is imported at start-up' --delayed comctl32,winmm
expect 1 newer.exe 'GetTickCount64, which Windows XP lacks' --xp
exit $bad
