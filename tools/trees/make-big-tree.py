#!/usr/bin/env python3
"""make-big-tree.py FOLDER FILES [SEED] [--pairs]: a tree for timing duplicate finders at scale.

Without --pairs, a mix like a user's disk: sizes spread from a few bytes to megabytes (most of them small),
about a fifth of the files copies of others in other folders, some groups of three or more, files of one
size with other bytes, and files that share their first blocks but end differently. With --pairs, FILES
small files in FILES/2 pairs: the most groups a list must show for that many files.
"""
import os
import random
import sys


def main():
    args = [a for a in sys.argv[1:] if not a.startswith("--")]
    pairs = "--pairs" in sys.argv
    root, files = args[0], int(args[1])
    rng = random.Random(int(args[2]) if len(args) > 2 else 42)
    folders = []
    for a in range(max(1, files // 2000)):
        for b in range(10):
            for c in range(4):
                folders.append(os.path.join(root, f"a{a}", f"b{b}", f"c{c}"))
    for folder in folders:
        os.makedirs(folder, exist_ok=True)

    def write(data):
        write.count += 1
        path = os.path.join(rng.choice(folders), f"f{write.count}")
        with open(path, "wb") as out:
            out.write(data)
    write.count = 0

    if pairs:
        for _ in range(files // 2):
            data = os.urandom(rng.randint(100, 3000))
            write(data)
            write(data)
        return

    shared_head = os.urandom(64 * 1024)
    made = []
    while write.count < files:
        roll = rng.random()
        if made and roll < 0.20:  # a copy of an earlier file, now and then several
            data = rng.choice(made)
            for _ in range(1 if rng.random() < 0.8 else rng.randint(2, 4)):
                write(data)
            continue
        if roll < 0.25:  # fixed-size records: one size, other bytes
            data = os.urandom(4096)
        elif roll < 0.27:  # the same first blocks, other endings
            data = shared_head + os.urandom(rng.randint(1, 50000))
        else:
            size = min(8 << 20, max(1, int(rng.lognormvariate(8.3, 1.6))))
            data = os.urandom(size)
        write(data)
        if len(made) < 20000:
            made.append(data if len(data) < (1 << 20) else data[:1 << 20])


main()
