#!/usr/bin/env bash
# Configures and builds the host build (tools, native tests), then the Windows build, which uses the host
# tools, and where the host runs 64-bit code only (or WINE_ARCH=64) the 64-bit twin as well.
set -euo pipefail
cd "$(dirname "$0")/.."
configure() { [ -f "build/$1/build.ninja" ] || cmake --preset "$1" >/dev/null; }
configure native
cmake --build --preset native
configure windows
cmake --build --preset windows
if [ "$(scripts/host-arch.sh build)" = 64 ]; then
  configure windows64
  cmake --build --preset windows64
fi
