#!/usr/bin/env bash
# Runs the button showcase in the build's Wine session, prints its Paint timing and takes a screenshot
# of the display into build/screenshots/button_showcase.png. Start the session first:
#   scripts/wine-session.sh start build
set -euo pipefail
root=$(realpath "$(dirname "$0")/../../..")
build=${TWINSIFT_BUILD_DIR:-$root/build}
export TWINSIFT_BUILD_DIR=$build
mkdir -p "$build/screenshots"
"$root/scripts/wine-run.sh" "$build/windows/bin/button_showcase.exe" 8 &
showcase=$!
sleep 5
DISPLAY=$(cat "$build/wine-session/display") import -window root "$build/screenshots/button_showcase.png"
wait "$showcase"
echo "screenshot: $build/screenshots/button_showcase.png"
