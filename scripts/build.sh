#!/usr/bin/env bash
# Builds what ships, the 32-bit release, into build/win32; then the builds
# with every test: x86_64 into build/win64 and i686 into build/win32-test.
#
#   scripts/build.sh            all three (what the tests need)
#   scripts/build.sh release    the release alone (what scripts/run.sh starts)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
jobs=$(nproc 2>/dev/null || echo 4)
case "${1:-all}" in
  all|release) what=${1:-all} ;;
  *) echo "usage: $0 [release]" >&2; exit 2 ;;
esac
build() {  # name toolchain [cmake options...]
  local dir=$root/build/cmake-$1 toolchain=$root/cmake/$2
  shift 2
  cmake -S "$root" -B "$dir" -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release "$@" >/dev/null
  cmake --build "$dir" -j "$jobs"
}
build win32 toolchain-i686.cmake
[ "$what" = release ] && exit 0
tests=(-DKS_BUILD_TESTS=ON -DKS_UPDATE_SITE="http://127.0.0.1:18231/kestrabel/")
build win64 toolchain-x86_64.cmake "${tests[@]}"
build win32-test toolchain-i686-posix.cmake "${tests[@]}"
