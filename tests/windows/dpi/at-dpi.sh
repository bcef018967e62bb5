#!/usr/bin/env bash
# at-dpi.sh DPI EMULATOR PROGRAM...: runs the program with the session prefix's screen at DPI, then puts
# the prefix back at 96.
set -uo pipefail
dpi=$1 emulator=$2
shift 2
key='HKCU\Control Panel\Desktop'
"$emulator" reg add "$key" /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1 || exit 1
trap '"$emulator" reg delete "$key" /v LogPixels /f >/dev/null 2>&1' EXIT
TWINSIFT_TEST_DPI=$dpi "$emulator" "$@"
