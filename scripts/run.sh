#!/usr/bin/env bash
# Runs the setup wizard under Wine: on $DISPLAY when one is set, otherwise on a private Xvfb
# display, walking through it and saving screenshots into build/screenshots. Where the host runs 64-bit
# code only (see host-arch.sh) it runs the 64-bit twin of the setup program and says so.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
cd "$here"
build=$(pwd)/build
export TWINSIFT_BUILD_DIR=$build
arch=$(scripts/host-arch.sh "$build")
source scripts/wine-env.sh
program="$build/Install_Twinsift.exe"
if [ "$arch" = 64 ]; then
  program="$windows_build/bin/Install_Twinsift.exe"
  echo "make run: the 64-bit twin of the setup program ($(scripts/host-arch.sh --why "$build"))"
fi
if [ -n "${DISPLAY:-}" ]; then
  [ -f "$WINEPREFIX/.twinsift-ready" ] || { scripts/wine-session.sh start "$build" >/dev/null; scripts/wine-session.sh stop "$build"; }
  exec "$wine" "$program"
fi
scripts/wine-session.sh start "$build" >/dev/null
trap '"$here/scripts/wine-session.sh" stop "$build"' EXIT
rm -rf "$build/screenshots"
mkdir -p "$build/screenshots"
cd "$build/screenshots"
echo "No display: running headless; screenshots:"
TWINSIFT_PROGRAM_ARCH=$arch "$here/scripts/wine-run.sh" "$windows_build/bin/twinsift_tour.exe" . 2>/dev/null |
  tr -d '\r' | sed "s|^\.[\\\\/]|$build/screenshots/|"
