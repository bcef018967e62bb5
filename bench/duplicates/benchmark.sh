#!/bin/bash
# benchmark.sh FINDER [FILES]: times FINDER, fdupes and jdupes on one generated tree with a warm cache and
# prints each one's time and its ratio to FINDER (above 1: FINDER is faster). Not a test: the numbers
# depend on the machine; the ratios of one run are what to compare.
set -eu
finder=$1
files=${2:-4000}
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d /tmp/twinsift-bench-XXXXXX)
trap 'chmod -R u+rwX "$work"; rm -rf "$work"' EXIT
echo "making a tree of about $files files..."
"$here/../../tools/trees/make-tree.sh" "$work/tree" 42 "$files"
chmod -R u+rwX "$work/tree"   # everything readable: the finders differ only in speed
du -sh "$work/tree" | sed 's/^/tree: /'

declare -A commands=(
  [twinsift-find]="$finder $work/tree"
  [fdupes]="fdupes -r -n -q $work/tree"
  [jdupes]="jdupes -r -q $work/tree"
)
names=(twinsift-find fdupes jdupes)
for n in "${names[@]}"; do ${commands[$n]} > /dev/null 2>&1; done   # warm the cache

rounds=${ROUNDS:-5}
declare -A best
for ((r = 0; r < rounds; r++)); do
  for n in "${names[@]}"; do
    start=$(date +%s%N)
    ${commands[$n]} > /dev/null 2>&1
    t=$(( $(date +%s%N) - start ))
    if [ -z "${best[$n]:-}" ] || [ "$t" -lt "${best[$n]}" ]; then best[$n]=$t; fi
  done
done
echo "best of $rounds runs each, interleaved:"
for n in "${names[@]}"; do
  awk -v n="$n" -v t="${best[$n]}" -v o="${best[twinsift-find]}" \
    'BEGIN { printf "  %-14s %8.1f ms   %.2fx the time of twinsift-find\n", n, t / 1e6, t / o }'
done
