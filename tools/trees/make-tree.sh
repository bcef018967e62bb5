#!/bin/bash
# make-tree.sh FOLDER SEED FILES: writes a tree with every case a duplicate finder must judge: many sizes with
# copies in other folders, equal prefixes with other endings, equal sizes with other content, hard links,
# symbolic links to files and folders, hidden and empty files, unreadable files and an unreadable folder.
set -e
root=$1
RANDOM=$2
files=${3:-300}
mkdir -p "$root"
cd "$root"
mkdir -p a/b/c d e/.hidden f
dirs=(a a/b a/b/c d e e/.hidden f)
pick() { echo "${dirs[RANDOM % ${#dirs[@]}]}"; }

for ((i = 0; i < files; i++)); do
  size=$(( (RANDOM * 32768 + RANDOM) % (i % 10 == 0 ? 300000 : 9000) + 1 ))
  f=$(pick)/r$i
  head -c "$size" /dev/urandom > "$f"
  case $((RANDOM % 10)) in
    0|1|2) cp "$f" "$(pick)/r$i.copy" ;;
    3) cp "$f" "$(pick)/r$i.copy"; cp "$f" "$(pick)/r$i.copy2" ;;
  esac
done

# Same first blocks, different endings, and some of them equal.
head -c 65536 /dev/urandom > prefix
for i in 1 2 3 4; do
  { cat prefix; head -c 100 /dev/urandom; } > "d/pre$i"
done
cp d/pre1 f/pre1.same
{ cat prefix; cat prefix; } > a/double1
cp a/double1 e/double2
rm prefix
# Equal sizes, other bytes.
for i in 1 2 3 4 5 6; do head -c 5000 /dev/urandom > "e/size$i"; done
cp e/size1 a/size1.copy
# Hard links: one file with three names, and a copy of it.
head -c 7000 /dev/urandom > f/linked
ln f/linked f/linked.hard1
ln f/linked a/linked.hard2
cp f/linked d/linked.copy
head -c 3000 /dev/urandom > f/onlylinked
ln f/onlylinked a/onlylinked.hard
# Symbolic links are never followed.
ln -s ../f/linked d/symlink.file
ln -s ../a e/symlink.dir
ln -s nowhere e/symlink.broken
# Hidden and empty files.
echo hidden > e/.h1
echo hidden > a/.h2
: > a/empty1
: > d/empty2
# Unreadable: one of three copies, and a whole folder with a copy inside.
head -c 4000 /dev/urandom > d/u1
cp d/u1 a/u2
cp d/u1 e/u3
chmod 000 e/u3
mkdir d/closed
cp d/u1 d/closed/u4
chmod 000 d/closed
chmod -R a+rX "$root" 2>/dev/null || true
chmod 000 e/u3 d/closed
