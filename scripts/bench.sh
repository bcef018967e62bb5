#!/usr/bin/env bash
# make bench: prints the figures README keeps, measured side by side in one run on this machine: the
# programs' overhead, extraction against inflating in one call, the installation run on a shown window
# against the same run on one never shown, launch against a trivial program, the processor time of an
# animated page change and of the remover's wait, the setup program's peak memory.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
build=$root/build
export TWINSIFT_BUILD_DIR=$build
arch=$(scripts/host-arch.sh "$build")
source scripts/wine-env.sh
preset=$(basename "$windows_build")

echo "== bench on $(nproc) processors, load $(cut -d' ' -f1-3 /proc/loadavg), $(date -u +%Y-%m-%dT%H:%MZ)"
scripts/bench-sizes.py build/windows/bin
cmake --build --preset "$preset" --target twinsift_bench >/dev/null
started=0
if [ ! -s "$session/display" ]; then
  scripts/wine-session.sh start "$build" >/dev/null
  started=1
fi
[ $started = 1 ] && trap '"$root/scripts/wine-session.sh" stop "$build"' EXIT
echo "(the Windows figures come from the $arch-bit build under Wine: $preset)"
cd "$windows_build/bin"
TWINSIFT_PROGRAM_ARCH=$arch "$root/scripts/wine-run.sh" ./twinsift_bench.exe "$@" 2>/dev/null | tr -d '\r'
