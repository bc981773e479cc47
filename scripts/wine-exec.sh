#!/usr/bin/env bash
# CTest's emulator: runs one Windows test program under the run's Wine.
exec "${WINE64:-/usr/lib/wine/wine64}" "$@"
