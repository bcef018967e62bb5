#!/usr/bin/env bash
# Runs a Windows program inside the Wine session of the build folder (CTest's cross-compiling emulator of
# the 32-bit build; wine64-run.sh serves the 64-bit twin).
# The session must be running: scripts/test.sh starts it (or: scripts/wine-session.sh start build).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(realpath -m "${TWINSIFT_BUILD_DIR:-$here/../build}")
arch=${TWINSIFT_PROGRAM_ARCH:-32}
source "$here/wine-env.sh"
if [ ! -s "$session/display" ]; then
  echo "wine-run: no $arch-bit Wine session in $build (start one: scripts/wine-session.sh start $build)" >&2
  exit 1
fi
export DISPLAY=$(cat "$session/display")
# TWINSIFT_DPI: the screen density of the prefix for this run; it is back at its default afterwards.
if [ -n "${TWINSIFT_DPI:-}" ]; then
  desktop='HKCU\Control Panel\Desktop'
  "$wine" reg add "$desktop" /v LogPixels /t REG_DWORD /d "$TWINSIFT_DPI" /f >/dev/null 2>&1
  trap '"$wine" reg delete "$desktop" /v LogPixels /f >/dev/null 2>&1' EXIT
fi
# Now and then Wine ends a program that has not yet started: it fails within a few hundredths of a second
# and prints nothing (seen once in some 650 test programs). No program of ours ends that fast under Wine
# (the quickest test takes 0.2 s), so a failure that fast is taken for such a start and tried once more,
# and says so; any other result stands.
started=$(date +%s%N)
status=0
"$wine" "$@" || status=$?
elapsed_ms=$((($(date +%s%N) - started) / 1000000))
if [ "$status" -ne 0 ] && [ "$elapsed_ms" -lt 100 ]; then
  echo "wine-run: $(basename "$1") ended with status $status after $elapsed_ms ms, before it could start; once more" >&2
  status=0
  "$wine" "$@" || status=$?
fi
exit "$status"
