#!/usr/bin/env bash
# Installs what building and testing need on a fresh Debian machine: the
# mingw-w64 cross compilers, GoogleTest's sources, Xvfb and its tools, and
# Wine for both architectures. What ships is the 32-bit release, so the
# 32-bit Wine (wine32:i386) is installed beside wine64: the end-to-end tests
# run the release itself, and the unit tests run in both architectures.
set -euo pipefail
need=(cmake make g++-mingw-w64-i686-win32 g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix
      binutils-mingw-w64-i686 binutils-mingw-w64-x86-64 googletest xvfb xdotool x11-utils
      imagemagick fonts-wine fonts-liberation python3)
# Wine's two halves must be one version: installed together, in one command.
wine=(wine64 libwine wine32:i386 libwine:i386)

SUDO=""; [ "$(id -u)" -ne 0 ] && SUDO=sudo
export DEBIAN_FRONTEND=noninteractive
installed() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed"; }
fail() { echo "prereqs: $*" >&2; exit 1; }

missing=()
for p in "${need[@]}"; do installed "$p" || missing+=("$p"); done
wine_ok=1
for p in "${wine[@]}"; do installed "$p" || wine_ok=0; done
[ -x /usr/lib/wine/wine64 ] && [ -x /usr/lib/wine/wine ] || wine_ok=0
if [ ${#missing[@]} -eq 0 ] && [ $wine_ok -eq 1 ]; then
  "$(dirname "$0")/i386-emulation.sh"
  exit 0
fi

if ! dpkg --print-foreign-architectures | grep -qx i386; then
  $SUDO dpkg --add-architecture i386
fi
# An index that fails to download (a mirror in the middle of a sync) is
# reported and left out; what follows copes with the suites that came.
update_log=$(mktemp)
if ! $SUDO apt-get update -q >"$update_log" 2>&1; then
  echo "prereqs: apt-get update reported errors (continuing with the indexes it has):" >&2
  grep -E '^(E|W|Err):' "$update_log" | sed 's/^/  /' >&2 || true
fi
rm -f "$update_log"

if [ ${#missing[@]} -gt 0 ]; then
  $SUDO apt-get install -y -q --no-install-recommends "${missing[@]}" ||
    fail "could not install: ${missing[*]}"
fi
if [ $wine_ok -eq 1 ]; then
  "$(dirname "$0")/i386-emulation.sh"
  exit 0
fi

# A plan that removes anything (wine64 above all) is not carried out. When
# one suite's i386 index is missing (seen: the security suite's), amd64 and
# i386 candidates of one library differ and no plan fits: then every
# candidate is taken from the release's main suite, where both exist.
plan_ok() {  # apt-get options...: the plan installs Wine and removes nothing
  local plan
  plan=$($SUDO apt-get install -s -q --no-install-recommends "$@" "${wine[@]}" 2>&1) || return 1
  ! grep -q '^Remv ' <<<"$plan"
}
codename=$(. /etc/os-release && echo "${VERSION_CODENAME:-}")
opts=()
if ! plan_ok; then
  [ -n "$codename" ] && plan_ok -t "$codename" ||
    fail "apt finds no way to install ${wine[*]} without removing packages; see 'apt-get install -s ${wine[*]}'"
  opts=(-t "$codename")
  echo "prereqs: installing Wine from the $codename suite alone (the other suites' amd64 and i386 versions differ)" >&2
fi
$SUDO apt-get install -y -q --no-install-recommends "${opts[@]}" "${wine[@]}" ||
  fail "apt-get could not install ${wine[*]}"
[ -x /usr/lib/wine/wine64 ] || fail "wine64 is not installed (/usr/lib/wine/wine64 missing)"
[ -x /usr/lib/wine/wine ] || fail "the 32-bit Wine is not installed (/usr/lib/wine/wine missing)"
"$(dirname "$0")/i386-emulation.sh"
