#!/usr/bin/env bash
# Runs every test: native unit tests, then the Windows tests and end-to-end tests under Wine (the 32-bit
# build, or its 64-bit twin where the host runs 64-bit code only; see host-arch.sh).
# Ends with the line "N passed, N failed" and exits non-zero on any failure.
set -uo pipefail
cd "$(dirname "$0")/.."
build=$(pwd)/build
export TWINSIFT_BUILD_DIR=$build
arch=$(scripts/host-arch.sh "$build")
source scripts/wine-env.sh

passed=0 failed=0 skipped=0
run_ctest() {  # name, build folder, extra ctest arguments
  local name=$1 dir=$2; shift 2
  local log="$build/ctest-$name.log"
  echo "== $name tests"
  ctest --test-dir "$dir" --output-on-failure --timeout 300 "$@" 2>&1 | tee "$log"
  local line; line=$(grep -E '[0-9]+ tests failed out of [0-9]+' "$log" | tail -n 1)
  if [ -n "$line" ]; then
    local f t
    f=$(sed -E 's/.* ([0-9]+) tests failed out of ([0-9]+).*/\1/' <<<"$line")
    t=$(sed -E 's/.* ([0-9]+) tests failed out of ([0-9]+).*/\2/' <<<"$line")
    # Skipped and disabled cases are neither passed nor failed (ctest counts the skipped ones among its total).
    local s d
    s=$(grep -cE '\*\*\*Skipped' "$log"); d=$(grep -cE 'Not Run \(Disabled\)' "$log")
    passed=$((passed + t - f - s)); failed=$((failed + f)); skipped=$((skipped + s + d))
  elif ! grep -q 'No tests were found' "$log"; then
    failed=$((failed + 1))   # ctest itself failed
  fi
}
run_ctest native build/native -j2
echo "== layers"
if scripts/layer-check.sh; then passed=$((passed + 1)); else failed=$((failed + 1)); fi
echo "== reproducible build"
if scripts/repro-check.sh "$build"; then passed=$((passed + 1)); else failed=$((failed + 1)); fi
if scripts/wine-session.sh start "$build" >/dev/null; then
  trap 'scripts/wine-session.sh stop "$build"' EXIT
  run_ctest "windows$([ "$arch" = 64 ] && echo 64)" "$windows_build" -j2
else
  echo "the Wine session did not start"
  failed=$((failed + 1))
fi
echo "Under Wine: $(scripts/host-arch.sh --why "$build")"
echo "$passed passed, $failed failed, $skipped skipped"
[ "$failed" = 0 ] && [ "$passed" -gt 0 ]
