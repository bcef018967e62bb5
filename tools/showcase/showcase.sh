#!/usr/bin/env bash
# Runs the button showcase in the build's Wine session, prints its Paint timing and takes a screenshot
# of the display into build/screenshots/button_showcase.png. Uses the running session, or starts one
# for the run.
set -euo pipefail
root=$(realpath "$(dirname "$0")/../..")
build=${TWINSIFT_BUILD_DIR:-$root/build}
export TWINSIFT_BUILD_DIR=$build
arch=$("$root/scripts/host-arch.sh" "$build")
export TWINSIFT_PROGRAM_ARCH=$arch
source "$root/scripts/wine-env.sh"
mkdir -p "$build/screenshots"
if [ ! -s "$session/display" ]; then
  "$root/scripts/wine-session.sh" start "$build" >/dev/null
  trap '"$root/scripts/wine-session.sh" stop "$build" >/dev/null' EXIT
fi
"$root/scripts/wine-run.sh" "$windows_build/bin/button_showcase.exe" 8 &
showcase=$!
sleep 5
DISPLAY=$(cat "$session/display") import -window root "$build/screenshots/button_showcase.png"
wait "$showcase"
echo "screenshot: $build/screenshots/button_showcase.png"
