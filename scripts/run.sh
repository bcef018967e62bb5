#!/usr/bin/env bash
# Runs the setup wizard under Wine: on $DISPLAY when one is set, otherwise on a private Xvfb
# display, walking through it and saving screenshots into build/screenshots.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
cd "$here"
build=$(pwd)/build
export TWINSIFT_BUILD_DIR=$build
if [ -n "${DISPLAY:-}" ]; then
  export WINEARCH=win32 WINEPREFIX="$build/wine" WINEDEBUG=-all
  [ -f "$WINEPREFIX/.twinsift-ready" ] || { scripts/wine-session.sh start "$build" >/dev/null; scripts/wine-session.sh stop "$build"; }
  exec wine "$build/Install_Twinsift.exe"
fi
scripts/wine-session.sh start "$build" >/dev/null
trap '"$here/scripts/wine-session.sh" stop "$build"' EXIT
rm -rf "$build/screenshots"
mkdir -p "$build/screenshots"
cd "$build/screenshots"
echo "No display: running headless; screenshots:"
"$here/scripts/wine-run.sh" "$build/windows/bin/twinsift_tour.exe" . 2>/dev/null | tr -d '\r' | sed "s|^\.[\\\\/]|$build/screenshots/|"
