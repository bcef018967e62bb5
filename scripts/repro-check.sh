#!/usr/bin/env bash
# Reproducible builds: copies the sources into two folders of different names, builds the smallest program
# (the remover) in each, 32-bit as shipped, and compares the executables byte for byte. Exit code 0 when
# they are identical. Takes a minute or two on an idle machine.
#   scripts/repro-check.sh [BUILD_DIR]
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=$(realpath -m "${1:-$here/build}")
work=$(mktemp -d /tmp/twinsift-repro.XXXXXX)
trap 'rm -rf "$work"' EXIT

build_in() {  # folder
  local tree="$work/$1"
  mkdir -p "$tree"
  cp -r "$here/CMakeLists.txt" "$here/cmake" "$here/src" "$tree/"
  cmake -S "$tree" -B "$tree/out" -G Ninja --log-level=ERROR -DBUILD_TESTING=OFF -DCMAKE_BUILD_TYPE=MinSizeRel \
    -DCMAKE_TOOLCHAIN_FILE="$tree/cmake/toolchain-mingw-i686.cmake" -DTWINSIFT_HOST_TOOLS="$build/native/tools" \
    -DTWINSIFT_JPEG_ROOT="$build/deps/mingw-jpeg" >/dev/null
  ninja -C "$tree/out" NVUninstall >/dev/null
}
build_in a
build_in second-build-elsewhere
if cmp "$work/a/out/bin/NVUninstall.exe" "$work/second-build-elsewhere/out/bin/NVUninstall.exe"; then
  echo "reproducible: two builds in different folders gave the same NVUninstall.exe"
else
  echo "not reproducible: two builds in different folders differ"
  exit 1
fi
