#!/usr/bin/env bash
# Says which Windows build this host tests under Wine: "32" where the host runs 32-bit code, "64" where it
# runs 64-bit code only (then a 64-bit twin of every Windows program and test runs under 64-bit Wine).
# WINE_ARCH=64 (or 32) in the environment forces a way.
#   scripts/host-arch.sh [--why] [SCRATCH_DIR]   --why: one line that says which way and why
set -euo pipefail

why=0
[ "${1:-}" = --why ] && { why=1; shift; }
scratch=${1:-$(dirname "$0")/../build}

runs_32bit_code() {
  # A 96-byte 32-bit Linux program that exits with 42 (mov eax,1; mov ebx,42; int 0x80). Where the kernel
  # refuses 32-bit code it fails to start ("Exec format error"). Written into the build folder, since /tmp
  # may forbid running programs.
  mkdir -p "$scratch"
  local probe; probe=$(mktemp "$scratch/.probe32.XXXXXX")
  printf '\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00\x01\x00\x00\x00\x54\x80\x04\x08'\
'\x34\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x34\x00\x20\x00\x01\x00\x00\x00\x00\x00\x00\x00'\
'\x01\x00\x00\x00\x00\x00\x00\x00\x00\x80\x04\x08\x00\x80\x04\x08\x60\x00\x00\x00\x60\x00\x00\x00'\
'\x05\x00\x00\x00\x00\x10\x00\x00\xb8\x01\x00\x00\x00\xbb\x2a\x00\x00\x00\xcd\x80' >"$probe"
  chmod +x "$probe"
  local status=0
  "$probe" >/dev/null 2>&1 || status=$?
  rm -f "$probe"
  [ "$status" = 42 ]
}

case "${WINE_ARCH:-}" in
  32) arch=32 reason="forced by WINE_ARCH=32: Windows tests run the 32-bit build under 32-bit Wine" ;;
  64) arch=64 reason="forced by WINE_ARCH=64: Windows tests run the 64-bit twin under 64-bit Wine" ;;
  "")
    if runs_32bit_code; then
      arch=32 reason="this host runs 32-bit code: Windows tests run the 32-bit build under 32-bit Wine"
    else
      arch=64 reason="this host runs 64-bit code only (a 32-bit program does not start): Windows tests run a 64-bit twin of the same sources under 64-bit Wine"
    fi ;;
  *) echo "host-arch: WINE_ARCH must be 32 or 64, not '$WINE_ARCH'" >&2; exit 2 ;;
esac
if [ $why = 1 ]; then echo "$reason"; else echo "$arch"; fi
