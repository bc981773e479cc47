#!/usr/bin/env bash
# Makes sure this machine runs 32-bit programs, which the 32-bit Wine (and so
# the release and every *_i686 test) needs. Most kernels run them as they
# are, and then this does nothing. Some run no i386 code at all: seen on a
# guest of a paravirtualising hypervisor, where every 32-bit program fails
# with "Exec format error" and no 32-bit code segment is usable either.
# There the 32-bit Wine runs under user-mode emulation: qemu-i386,
# registered with the kernel's binfmt_misc for i386 programs.
#
# Bookworm's qemu (7.2) looks up free address space page by page, and the
# 32-bit Wine's reservations made every process start take 45 s of CPU; the
# next Debian release's qemu (10.0) starts one in under 2 s. Its package
# holds static binaries, so qemu-i386 alone is taken out of it, from the
# mirror the machine already uses, and nothing is installed.
set -euo pipefail
SUDO=""; [ "$(id -u)" -ne 0 ] && SUDO=sudo
fail() { echo "i386-emulation: $*" >&2; exit 1; }
runs_i386() { /usr/lib/wine/wine --version >/dev/null 2>&1; }
runs_i386 && exit 0

qemu=/usr/local/lib/kestrabel/qemu-i386
suite=trixie
if ! "$qemu" --version >/dev/null 2>&1; then
  codename=$(. /etc/os-release && echo "${VERSION_CODENAME:-}")
  mirror=$(apt-cache policy 2>/dev/null | awk -v s="$codename/main" '$3 == s && $4 == "amd64" { print $2; exit }')
  [ -n "$mirror" ] || fail "no Debian mirror for $codename/main among apt's sources"
  work=$(mktemp -d)
  trap 'rm -rf "$work"' EXIT
  mkdir -p "$work/lists/partial"
  keyring=/usr/share/keyrings/debian-archive-keyring.gpg
  echo "deb [arch=amd64 signed-by=$keyring] $mirror $suite main" >"$work/sources.list"
  apt_private=(-o Dir::Etc::sourcelist="$work/sources.list" -o Dir::Etc::sourceparts=/dev/null
               -o Dir::State::Lists="$work/lists" -o APT::Architectures=amd64 -o APT::Sandbox::User=root)
  echo "i386-emulation: this kernel runs no 32-bit programs; fetching qemu-i386 from $suite" >&2
  apt-get "${apt_private[@]}" update -q >"$work/update.log" 2>&1 ||
    fail "could not read the $suite index: $(tail -n 3 "$work/update.log")"
  (cd "$work" && apt-get "${apt_private[@]}" download -q qemu-user >"$work/download.log" 2>&1) ||
    fail "could not download qemu-user from $suite: $(tail -n 3 "$work/download.log")"
  dpkg-deb -x "$work"/qemu-user_*.deb "$work/x"
  $SUDO install -D -m 755 "$work/x/usr/bin/qemu-i386" "$qemu"
  "$qemu" --version >/dev/null 2>&1 || fail "$qemu does not run"
fi

binfmt=/proc/sys/fs/binfmt_misc
[ -e "$binfmt/register" ] || $SUDO mount -t binfmt_misc binfmt_misc "$binfmt" ||
  fail "binfmt_misc cannot be mounted"
# An i386 executable or shared object, as the kernel's ELF header reads.
magic='\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00'
mask='\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff'
for entry in "$binfmt"/*; do
  # Another emulator registered for i386 (bookworm's own, say) goes first.
  [ -f "$entry" ] && grep -q '^magic 7f454c460101010000000000000000000200030' "$entry" 2>/dev/null &&
    echo -1 | $SUDO tee "$entry" >/dev/null
done
# F: the kernel opens the emulator now, so it serves every mount namespace.
echo ":kestrabel-i386:M::$magic:$mask:$qemu:F" | $SUDO tee "$binfmt/register" >/dev/null ||
  fail "the i386 emulator could not be registered"
runs_i386 || fail "32-bit programs still do not run (/usr/lib/wine/wine --version)"
echo "i386-emulation: 32-bit programs run under $qemu" >&2
