#!/usr/bin/env bash
# CTest's cross-compiling emulator of the 64-bit twin: runs a program in the 64-bit Wine session.
TWINSIFT_PROGRAM_ARCH=64 exec "$(dirname "$0")/wine-run.sh" "$@"
