#!/usr/bin/env bash
# Runs a Windows program inside the Wine session of the build folder (CTest's cross-compiling emulator).
# The session must be running: scripts/test.sh starts it (or: scripts/wine-session.sh start build).
set -euo pipefail
build=$(realpath -m "${TWINSIFT_BUILD_DIR:-$(dirname "$0")/../build}")
if [ ! -s "$build/wine-session/display" ]; then
  echo "wine-run: no Wine session in $build (start one: scripts/wine-session.sh start $build)" >&2
  exit 1
fi
export WINEARCH=win32 WINEPREFIX="$build/wine" WINEDEBUG=${WINEDEBUG:--all}
export DISPLAY=$(cat "$build/wine-session/display")
exec wine "$@"
