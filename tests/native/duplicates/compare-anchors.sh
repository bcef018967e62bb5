#!/bin/bash
# compare-anchors.sh FINDER: the groups FINDER prints must be the groups Debian's fdupes and jdupes print
# for the same generated trees (order aside). Runs everything as an unprivileged user when started as root,
# so that unreadable files are unreadable.
set -u
finder=$1
here=$(cd "$(dirname "$0")" && pwd)
for tool in fdupes jdupes; do
  command -v $tool >/dev/null || { echo "$tool is missing: scripts/setup.sh installs it" >&2; exit 1; }
done
work=$(mktemp -d /tmp/twinsift-anchors-XXXXXX)
chmod 755 "$work"
cp "$finder" "$work/finder"
trap 'chmod -R u+rwX "$work"; rm -rf "$work"' EXIT
as_user=()
[ "$(id -u)" = 0 ] && as_user=(setpriv --reuid=65534 --regid=65534 --clear-groups)

# One group a line, its paths sorted and joined by tabs; groups sorted; the path that changes left out.
normalise() {
  awk -v skip="$2" 'BEGIN { RS = ""; FS = "\n" }
    { n = 0; for (i = 1; i <= NF; i++) if ($i != "" && $i != skip) p[++n] = $i
      if (n < 2) next
      for (i = 1; i <= n; i++) for (j = i + 1; j <= n; j++) if (p[j] < p[i]) { t = p[i]; p[i] = p[j]; p[j] = t }
      line = p[1]; for (i = 2; i <= n; i++) line = line "\t" p[i]; print line }' "$1" | LC_ALL=C sort
}

failed=0
run_case() {
  local name=$1 seed=$2 files=$3
  local tree=$work/$name
  "$here/../../../tools/trees/make-tree.sh" "$tree" "$seed" "$files"
  # A file that keeps growing while the finders read: none may put it in a group.
  local changing=$tree/a/growing
  head -c 20000 /dev/urandom > "$changing"
  cp "$changing" "$tree/d/growing.before"
  chmod a+r "$tree/d/growing.before" "$changing"
  ( while [ -e "$changing" ]; do head -c 512 /dev/urandom >> "$changing" 2>/dev/null || break; sleep 0.01; done ) &
  local grower=$!
  (cd "$work" && "${as_user[@]}" ./finder "$name" > "$name.ours" 2>/dev/null)
  (cd "$work" && "${as_user[@]}" fdupes -r -n -q "$name" > "$name.fdupes" 2>/dev/null)
  (cd "$work" && "${as_user[@]}" jdupes -r -q "$name" > "$name.jdupes" 2>/dev/null)
  kill $grower; wait $grower 2>/dev/null
  local skip=$name/a/growing
  normalise "$work/$name.ours" "$skip" > "$work/$name.ours.n"
  local groups
  groups=$(wc -l < "$work/$name.ours.n")
  if grep -q "growing$" "$work/$name.ours"; then
    echo "FAIL $name: the growing file was put in a group"; failed=1
  fi
  for tool in fdupes jdupes; do
    normalise "$work/$name.$tool" "$skip" > "$work/$name.$tool.n"
    if diff -u "$work/$name.$tool.n" "$work/$name.ours.n" > "$work/$name.$tool.diff"; then
      echo "ok   $name: the same $groups groups as $tool"
    else
      echo "FAIL $name: groups differ from $tool:"; head -40 "$work/$name.$tool.diff"; failed=1
    fi
  done
}

run_case crafted 7 120
run_case wide 1234 400
exit $failed
