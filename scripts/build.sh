#!/usr/bin/env bash
# Configures and builds the host build (tools, native tests) and then the Windows build, which uses the host tools.
set -euo pipefail
cd "$(dirname "$0")/.."
configure() { [ -f "build/$1/build.ninja" ] || cmake --preset "$1" >/dev/null; }
configure native
cmake --build --preset native
configure windows
cmake --build --preset windows
