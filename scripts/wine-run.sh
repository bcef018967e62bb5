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
exec "$wine" "$@"
