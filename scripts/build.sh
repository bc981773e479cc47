#!/usr/bin/env bash
# Builds the 32-bit release into build/win32 and the 64-bit build with every
# test into build/win64.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
jobs=$(nproc 2>/dev/null || echo 4)
cmake -S "$root" -B "$root/build/cmake-win32" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-i686.cmake" \
      -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$root/build/cmake-win32" -j "$jobs"
cmake -S "$root" -B "$root/build/cmake-win64" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-x86_64.cmake" \
      -DCMAKE_BUILD_TYPE=Release -DKS_BUILD_TESTS=ON \
      -DKS_UPDATE_SITE="http://127.0.0.1:18231/kestrabel/" >/dev/null
cmake --build "$root/build/cmake-win64" -j "$jobs"
