#!/bin/bash
# scale-bench.sh FINDER [FILES]: the duplicate search at scale against jdupes, side by side in one run, on a
# generated tree of FILES files (100,000 unless told; made once in $TWINSIFT_SCALE_DIR, /tmp/twinsift-scale
# unless told) and on /usr/share: warm (median of 5 interleaved runs), cold (median of 3, the page cache
# dropped before every run; needs root) and peak memory (resident, from /usr/bin/time). Then the memory
# for FILES files in FILES/2 groups of two.
set -eu
finder=$1
files=${2:-100000}
here=$(cd "$(dirname "$0")" && pwd)
work=${TWINSIFT_SCALE_DIR:-/tmp/twinsift-scale}
mkdir -p "$work"
for kind in mix pairs; do
  if [ "$(cat "$work/$kind.made" 2>/dev/null)" != "$files" ]; then
    echo "making a tree of $files files ($kind)..."
    rm -rf "${work:?}/$kind"
    python3 "$here/../../tools/trees/make-big-tree.py" "$work/$kind" "$files" 42 $([ $kind = pairs ] && echo --pairs)
    echo "$files" > "$work/$kind.made"
  fi
done

ms() { local s; s=$(date +%s%N); "$@" > /dev/null 2>&1 || true; echo $(( ($(date +%s%N) - s) / 1000000 )); }
median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
peak_kb() { /usr/bin/time -f %M "$@" 2>&1 > /dev/null | tail -1; }
can_drop() { [ -w /proc/sys/vm/drop_caches ] && sync && echo 3 > /proc/sys/vm/drop_caches 2>/dev/null; }

echo "== $(nproc) processors, load $(cut -d' ' -f1-3 /proc/loadavg), $(date -u +%Y-%m-%dT%H:%MZ)"
for target in "$work/mix" /usr/share; do
  ours=("$finder" "$target")
  theirs=(jdupes -r -q "$target")
  count_ours=$("${ours[@]}" 2>/dev/null | grep -c '^$' || true)
  count_theirs=$("${theirs[@]}" 2>/dev/null | grep -c '^$' || true)
  echo "$target: $(find "$target" -type f 2>/dev/null | wc -l) files; groups: twinsift-find $count_ours, jdupes $count_theirs"
  a=(); b=()
  for r in 1 2 3 4 5; do a+=("$(ms "${ours[@]}")"); b+=("$(ms "${theirs[@]}")"); done
  wa=$(printf '%s\n' "${a[@]}" | median); wb=$(printf '%s\n' "${b[@]}" | median)
  awk -v a="$wa" -v b="$wb" 'BEGIN { printf "  warm, median of 5:   twinsift-find %6d ms, jdupes %6d ms (x%.2f, aim <= x0.7)\n", a, b, a / b }'
  if can_drop; then
    a=(); b=()
    for r in 1 2 3; do
      can_drop; a+=("$(ms "${ours[@]}")")
      can_drop; b+=("$(ms "${theirs[@]}")")
    done
    ca=$(printf '%s\n' "${a[@]}" | median); cb=$(printf '%s\n' "${b[@]}" | median)
    awk -v a="$ca" -v b="$cb" 'BEGIN { printf "  cold, median of 3:   twinsift-find %6d ms, jdupes %6d ms (x%.2f, aim <= x0.7)\n", a, b, a / b }'
  else
    echo "  cold: not measured (dropping the page cache needs root)"
  fi
  ma=$(peak_kb "${ours[@]}"); mb=$(peak_kb "${theirs[@]}")
  awk -v a="$ma" -v b="$mb" 'BEGIN { printf "  peak memory:         twinsift-find %6.1f MB, jdupes %6.1f MB (x%.2f, aim <= x1)\n", a / 1024, b / 1024, a / b }'
done
ma=$(peak_kb "$finder" "$work/pairs"); mb=$(peak_kb jdupes -r -q "$work/pairs")
awk -v a="$ma" -v b="$mb" -v n="$files" 'BEGIN { printf "%d files in %d groups of two: peak memory twinsift-find %.1f MB, jdupes %.1f MB\n", n, n / 2, a / 1024, b / 1024 }'
