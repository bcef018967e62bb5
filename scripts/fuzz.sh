#!/usr/bin/env bash
# Runs the uninstall fuzzer (the record reader, the remover's argument reading and the value rules)
# for SECONDS (default 600) on both cores, keeping what it finds in build/fuzz-corpus.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-600}
cmake --build --preset native --target build_uninstall_fuzzer
mkdir -p build/fuzz-corpus
exec build/native/tests/native/uninstall/uninstall_fuzzer -max_total_time="$seconds" -max_len=4096 \
  -jobs=2 -workers=2 -artifact_prefix=build/ build/fuzz-corpus tests/native/uninstall/fuzz-corpus
